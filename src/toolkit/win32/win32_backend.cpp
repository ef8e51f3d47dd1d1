#include "toolkit/win32/win32_backend.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <utility>

#include "common/win32/system_function.h"
#include "toolkit/win32/form_window.h"
#include "toolkit/win32/handles.h"

namespace tk::win32 {

namespace {

constexpr char16_t kFailureText[] =
    u"予期しないエラーが起きたため、Tintmarkを終了します。\r\n\r\n"
    u"適用していない色の設定は失われます。";
constexpr char16_t kFailureTitle[] = u"Tintmark";
constexpr int kMbIconStop = 16;

// comdlg32 brings shell32, ole32 and more with it when it loads: about 6 MiB and 20 ms that a
// program started to change two colours should not pay before a file command is chosen. It is
// loaded with the first file dialog and stays for the life of the program.
struct CommonDialogs {
  using ShowFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
  using ErrorFunction = DWORD(WINAPI*)();

  static const CommonDialogs& Get() {
    static const CommonDialogs dialogs;
    return dialogs;
  }

  template <class Pointer>
  Pointer Function(const char* name) const {
    return common::win32::SystemFunction<Pointer>(module.get(), name);
  }
  bool Loaded() const { return getOpenFileName && getSaveFileName && commDlgExtendedError; }

  // Declared first: the functions below are looked up in it. comdlg32 is a known DLL, always
  // loaded from the system folder.
  ModuleHandle module{LoadLibraryW(L"comdlg32.dll")};
  ShowFunction getOpenFileName = Function<ShowFunction>("GetOpenFileNameW");
  ShowFunction getSaveFileName = Function<ShowFunction>("GetSaveFileNameW");
  ErrorFunction commDlgExtendedError = Function<ErrorFunction>("CommDlgExtendedError");
};

}  // namespace

void Win32Backend::OnUncaughtException() noexcept {
  // A second one, from inside the box's own message loop, ends the program at once.
  if (!std::exchange(ending_, true)) {
    try {
      MessageBox(kFailureText, kMbOk | kMbIconStop, kFailureTitle);
    } catch (...) {
    }
  }
  EndProgram();
}

void Win32Backend::EndProgram() noexcept { ExitProcess(EXIT_FAILURE); }

Win32Backend::Win32Backend() = default;

Win32Backend::~Win32Backend() = default;

std::unique_ptr<FormPeer> Win32Backend::CreateForm(Form& form) {
  return std::make_unique<FormWindow>(*this, form);
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
      if (active->Accelerators() && TranslateAcceleratorW(form, active->Accelerators(), &message)) {
        return;
      }
      if (IsDialogMessageW(form, &message)) return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32Backend::RunUntil(const std::function<bool()>& done) {
  auto anyWindow = [this] {
    return std::any_of(windows_.begin(), windows_.end(),
                       [](const FormWindow* window) { return window->Handle() != nullptr; });
  };
  while (!done() && anyWindow()) {
    MSG message{};
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
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

void SplitInitialFileName(const std::u16string& fileName, std::u16string& folder,
                          std::u16string& name) {
  const std::size_t slash = fileName.find_last_of(u"\\/");
  const std::size_t nameStart = slash == std::u16string::npos ? 0 : slash + 1;
  const bool wildcard = fileName.find_first_of(u"*?", nameStart) != std::u16string::npos;
  if (!wildcard || slash == std::u16string::npos) {
    folder.clear();
    name = fileName;
    return;
  }
  folder = fileName.substr(0, slash);
  if (folder.empty() || folder.back() == u':') folder += u'\\';  // "C:\*.reg" is the root of C:
  name = fileName.substr(nameStart);
}

std::u16string FilterList(const std::u16string& filter) {
  if (filter.empty()) return {};
  std::u16string list = filter;
  std::replace(list.begin(), list.end(), u'|', u'\0');
  list += u'\0';  // with the string's own terminator: the closing empty entry
  return list;
}

DialogResult Win32Backend::ShowFileDialog(FileDialogRequest& request) {
  std::u16string folder, name;
  SplitInitialFileName(request.fileName, folder, name);
  // Large enough for any path Windows accepts.
  std::wstring buffer(32768, L'\0');
  name.copy(reinterpret_cast<char16_t*>(buffer.data()), std::min(name.size(), buffer.size() - 1));
  const std::u16string filter = FilterList(request.filter);
  std::u16string extension = request.defaultExt;
  if (!extension.empty() && extension.front() == u'.') extension.erase(0, 1);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = OwnerWindow();
  dialog.lpstrFilter = filter.empty() ? nullptr : WidePtr(filter);
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : WidePtr(folder);
  dialog.lpstrTitle = request.title.empty() ? nullptr : WidePtr(request.title);
  dialog.lpstrDefExt = extension.empty() ? nullptr : WidePtr(extension);
  dialog.Flags = static_cast<DWORD>(request.flags);

  const CommonDialogs& dialogs = CommonDialogs::Get();
  if (!dialogs.Loaded()) return DialogResult::kFailed;
  const BOOL chosen =
      request.save ? dialogs.getSaveFileName(&dialog) : dialogs.getOpenFileName(&dialog);
  if (chosen) {
    request.fileName = FromWide(buffer.c_str(), std::wcslen(buffer.c_str()));
    return DialogResult::kOk;
  }
  return dialogs.commDlgExtendedError() == 0 ? DialogResult::kCancelled : DialogResult::kFailed;
}

std::u16string Win32Backend::ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // truncated: try again with room to spare
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  return FromWide(path.substr(0, slash == std::wstring::npos ? 0 : slash));
}

HWND Win32Backend::WindowOf(const Form& form) {
  const FormWindow* window = FormWindow::Of(form);
  return window ? window->Handle() : nullptr;
}

HWND Win32Backend::WindowOf(const Control& control) {
  const FormWindow* form = FormWindow::Of(control.Parent());
  const ControlWindow* window = form ? form->WindowOf(control) : nullptr;
  return window ? window->Handle() : nullptr;
}

Control* Win32Backend::ControlOf(HWND window) {
  const FormWindow* form = FormWindow::FromHandle(GetAncestor(window, GA_ROOT));
  const ControlWindow* control = form ? form->ControlFor(window) : nullptr;
  return control ? &control->Owner() : nullptr;
}

Form* Win32Backend::FormOf(HWND window) {
  FormWindow* form = FormWindow::FromHandle(window);
  return form ? &form->Owner() : nullptr;
}

bool Win32Backend::HasWindowFor(const Form* form) const {
  return std::any_of(windows_.begin(), windows_.end(), [form](const FormWindow* window) {
    return &window->Owner() == form && window->Handle();
  });
}

HWND Win32Backend::MenuCommandOf(const MenuItem& item, UINT* command) const {
  for (const FormWindow* window : windows_) {
    if (const UINT id = window->CommandOf(item); id != 0 && window->Handle()) {
      if (command) *command = id;
      return window->Handle();
    }
  }
  return nullptr;
}

bool Win32Backend::HasSubMenu(const MenuItem& item, const Form& form) {
  return std::any_of(form.Menus().begin(), form.Menus().end(),
                     [&item](const auto& other) { return other->Spec().parent == item.Name(); });
}

}  // namespace tk::win32
