// Program entry: the main window over the real controls and the real registry.

#include "about/frm_about.h"
#include "app/frm_main.h"
#include "store/win32/advapi32_registry.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/windows_api.h"  // <windows.h> without its MessageBox macro

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tk::win32::Win32Backend backend;
  tk::Application application(backend);
  store::Advapi32Registry registry;
  app::FrmMain frmMain(application, registry, about::ShowAbout);
  application.Run(frmMain.Form());
  return 0;
}
