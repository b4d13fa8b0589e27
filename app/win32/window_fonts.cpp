// The window's fonts from the message font that the system reports for the window's DPI.
#include "app/win32/window_fonts.h"

namespace mv::win32 {
namespace {

constexpr int kHeadingPoints = 12;
constexpr int kPointsPerInch = 72;

LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
  return metrics.lfMessageFont;
}

GdiObject<HFONT> Bold(LOGFONTW font) {
  font.lfWeight = FW_BOLD;
  return GdiObject<HFONT>(CreateFontIndirectW(&font));
}

}  // namespace

WindowFonts::WindowFonts(UINT dpi) {
  LOGFONTW message = MessageFont(dpi);
  window_.reset(CreateFontIndirectW(&message));
  bold_ = Bold(message);
  message.lfHeight = -MulDiv(kHeadingPoints, static_cast<int>(dpi), kPointsPerInch);
  heading_ = Bold(message);
}

HFONT WindowFonts::Of(ControlFont font) const {
  switch (font) {
    case ControlFont::Window:
      return window_.get();
    case ControlFont::Heading:
      return heading_.get();
    case ControlFont::Bold:
      return bold_.get();
  }
  return window_.get();
}

}  // namespace mv::win32
