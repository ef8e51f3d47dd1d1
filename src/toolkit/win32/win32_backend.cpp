#include "toolkit/win32/win32_backend.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <utility>

#include "common/scope_exit.h"
#include "common/win32/windows_version.h"
#include "toolkit/file_dialog.h"
#include "toolkit/win32/form_window.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/system_metrics.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

constexpr int kMbIconStop = 16;

}  // namespace

void Win32Backend::OnUncaughtException() noexcept {
  // A second one, from inside the box's own message loop, ends the program at once.
  if (!std::exchange(ending_, true)) {
    try {
      MessageBox(failureText_, kMbOk | kMbIconStop, failureTitle_);
    } catch (...) {
    }
  }
  EndProgram();
}

void Win32Backend::SetFailureMessage(std::u16string text, std::u16string title) {
  failureText_ = std::move(text);
  failureTitle_ = std::move(title);
}

bool Win32Backend::CanShow(std::u16string_view text, const FontSpec& font) {
  if (!WideOrAnsi().CodePageHolds(std::u16string(text)) || !MakesCharset(font)) return false;
  // Font linking came with Windows 2000: before it, the menus, the buttons and the message boxes,
  // in the system's own font, show the text only where that font has the character set itself.
  return !common::win32::IsBeforeWindows2000() || SystemFontCharset() == font.charset;
}

void Win32Backend::EndProgram() noexcept { ExitProcess(EXIT_FAILURE); }

// The manifest asks for common controls 6, whose BUTTON, EDIT and STATIC classes exist only once
// comctl32 6 is loaded: Vista and later load it when the first such window is made, Windows XP
// does not. The call (in every comctl32 since Windows 95; in version 6 it does nothing more)
// makes the program import comctl32, so it is loaded with the program, before any window or box.
Win32Backend::Win32Backend() { InitCommonControls(); }

Win32Backend::~Win32Backend() = default;

std::unique_ptr<FormPeer> Win32Backend::CreateForm(Form& form) {
  auto window = std::make_unique<FormWindow>(*this, form);
  // Refused or thrown out of: the window goes first, while the controls' windows it takes along
  // still have their objects.
  common::ScopeExit undo([&] {
    window.reset();
    for (const auto& control : form.Controls()) control->AttachPeer(nullptr);
  });
  if (!window->Build()) return nullptr;
  undo.Release();
  return window;
}

void Win32Backend::Attach(FormWindow& window) { windows_.push_back(&window); }

void Win32Backend::Detach(FormWindow& window) {
  std::erase(windows_, &window);
  if (lastActive_ == &window) lastActive_ = nullptr;
}

void Win32Backend::OnActivated(FormWindow& window) { lastActive_ = &window; }

FormWindow* Win32Backend::ActiveFormWindow() const {
  FormWindow* active = FormWindow::FromHandle(GetActiveWindow());
  return active && std::find(windows_.begin(), windows_.end(), active) != windows_.end() ? active
                                                                                         : nullptr;
}

HWND Win32Backend::OwnerWindow() const {
  if (const FormWindow* active = ActiveFormWindow()) return active->Handle();
  if (lastActive_ && lastActive_->Handle() && IsWindowVisible(lastActive_->Handle())) {
    return lastActive_->Handle();
  }
  return nullptr;
}

void Win32Backend::ProcessMessage(MSG& message) {
  if (!message.hwnd && OnThreadMessage(message)) return;
  // Only the program's active form translates keys: a shortcut of the main window must not act
  // while a modal form is up.
  if (FormWindow* active = ActiveFormWindow()) {
    const HWND form = active->Handle();
    if (message.hwnd == form || IsChild(form, message.hwnd)) {
      if (active->Accelerators() &&
          WideOrAnsi().Accelerate(form, active->Accelerators(), message)) {
        return;
      }
      if (WideOrAnsi().DialogKey(form, message)) return;
    }
  }
  TranslateMessage(&message);
  WideOrAnsi().Dispatch(message);
}

void Win32Backend::RunUntil(const std::function<bool()>& done) {
  auto anyWindow = [this] {
    return std::any_of(windows_.begin(), windows_.end(),
                       [](const FormWindow* window) { return window->Handle() != nullptr; });
  };
  while (!done() && anyWindow()) {
    MSG message{};
    const BOOL got = WideOrAnsi().NextMessage(message);
    if (got == 0) {
      // Leave WM_QUIT for the loop further out.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got == -1) return;
    ProcessMessage(message);
  }
}

int Win32Backend::MessageBox(const std::u16string& text, int style, const std::u16string& title) {
  const HWND owner = OwnerWindow();
  const UINT flags = static_cast<UINT>(style) | (owner ? 0 : MB_SETFOREGROUND);
  return ::MessageBoxW(owner, WidePtr(text), WidePtr(title), flags);
}

void Win32Backend::Beep() { MessageBeep(MB_OK); }

DialogResult Win32Backend::ShowFileDialog(FileDialogRequest& request) {
  FileChoice choice{.save = request.save,
                    .owner = OwnerWindow(),
                    .filter = FilterList(request.filter),
                    .title = request.title,
                    .defaultExtension = request.defaultExt,
                    .flags = static_cast<DWORD>(request.flags)};
  SplitInitialFileName(request.fileName, choice.initialFolder, choice.fileName);
  if (choice.defaultExtension.starts_with(u'.')) choice.defaultExtension.erase(0, 1);
  DWORD error = 0;
  if (WideOrAnsi().ChooseFile(choice, error)) {
    request.fileName = std::move(choice.fileName);
    return DialogResult::kOk;
  }
  return error == 0 ? DialogResult::kCancelled : DialogResult::kFailed;
}

std::u16string Win32Backend::ProgramFolder() {
  const std::u16string path = WideOrAnsi().ProgramPath();
  const std::size_t slash = path.find_last_of(u"\\/");
  return path.substr(0, slash == std::u16string::npos ? 0 : slash);
}

}  // namespace tk::win32
