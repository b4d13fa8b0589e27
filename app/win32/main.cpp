// MigrateVantrel22To23 on Windows: starts the migration window.
#include <windows.h>

#include <commctrl.h>

#include "app/win32/win32_convert_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  mv::win32::Win32ConvertWindow window(instance, {});
  return window.Run(show);
}
