// Artwork: the window's banner and icon, drawn in code.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace mv {

/// The 275 x 119 pixel banner shown from the top left corner of `Picture1`; its top 51
/// rows are what the picture box shows.
QPixmap Banner();

/// The window icon, at 16 x 16 and 32 x 32 pixels.
QIcon WindowIcon();

}  // namespace mv
