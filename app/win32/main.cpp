// MigrateVantrel22To23 on Windows: starts the migration window.
#include <windows.h>

#include <commctrl.h>

#include "app/win32/win32_front_end.h"
#include "converters/converter_factory.h"
#include "platform/process_locale.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  mv::PrepareProcessLocale();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  mv::win32::Win32FrontEnd frontEnd(instance, mv::MakeConverterFactory());
  return frontEnd.Run(show);
}
