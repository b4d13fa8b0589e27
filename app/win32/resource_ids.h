// The ids of the window's resources, shared by the resource script and the code.
#pragma once

#define MV_WINDOW_ICON 1
#define MV_BANNER_BITMAP 2
