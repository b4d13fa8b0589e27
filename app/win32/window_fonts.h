// WindowFonts: the window's three fonts at one DPI, made from the system's message font.
#pragma once

#include <windows.h>

#include "app/win32/convert_window_layout.h"
#include "app/win32/gdi_object.h"

namespace mv::win32 {

/// The system's message font for the window and its controls, the same face bold at 12 points
/// for the column headings, and in bold for the outcome text. Made again when the DPI changes.
class WindowFonts {
 public:
  explicit WindowFonts(UINT dpi);
  HFONT Of(ControlFont font) const;

 private:
  GdiObject<HFONT> window_;
  GdiObject<HFONT> heading_;
  GdiObject<HFONT> bold_;
};

}  // namespace mv::win32
