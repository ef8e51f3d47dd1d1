// Program entry: the main window over the real controls, registry and files.

#include <cwchar>
#include <string>

#include "about/frm_about.h"
#include "app/frm_main.h"
#include "app/texts.h"
#include "files/win32/win32_file_access.h"
#include "store/win32/advapi32_registry.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/windows_api.h"  // <windows.h> without its MessageBox macro

namespace {

// The file named on the command line, as a full path: the file dialogs move the current folder.
std::u16string FileArgument() {
  const wchar_t* commandLine = GetCommandLineW();
  const std::u16string argument =
      app::FirstArgument(tk::win32::FromWide(commandLine, std::wcslen(commandLine)));
  return argument.empty() ? argument : files::FullPath(argument);
}

}  // namespace

// The ANSI entry: the wide one's start-up calls W functions that Windows 95, 98 and ME lack. The
// command line comes from GetCommandLineW, which they have.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tk::win32::Win32Backend backend;
  try {
    const app::Texts& texts = app::TextsFor(backend);
    backend.SetFailureMessage(std::u16string(texts.failure.text),
                              std::u16string(texts.failure.title));
    tk::Application application(backend);
    store::Advapi32Registry registry;
    files::Win32FileAccess fileAccess;
    app::FrmMain frmMain(application, registry, fileAccess, texts, about::ShowAbout);
    frmMain.Files().OpenAtStart(FileArgument());
    frmMain.Run();
  } catch (...) {
    backend.OnUncaughtException();
  }
  return 0;
}
