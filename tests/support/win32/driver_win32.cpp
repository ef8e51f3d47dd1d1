#include "support/win32/driver_win32.h"

#include <commdlg.h>
#include <gtest/gtest.h>
#include <shlobj.h>  // DROPFILES

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "common/win32/ansi_text.h"
#include "support/win32/native_windows.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/windows_calls.h"

namespace tktest {

using tk::win32::Win32Backend;

namespace {

constexpr UINT kRunModalAction = WM_APP + 0x54;
constexpr UINT_PTR kAnswerTimerId = 0x5441;
constexpr UINT_PTR kMenuTimerId = 0x5442;
// The two waits below, in ms on a machine of today. TINTMARK_TIME_FACTOR=N lengthens them N times
// for a slower one (scripts/test.sh sets it where 32-bit programs are emulated).
DWORD Patient(DWORD ms) {
  static const DWORD factor = [] {
    char text[16] = {};
    const DWORD length = GetEnvironmentVariableA("TINTMARK_TIME_FACTOR", text, sizeof text);
    const unsigned long value =
        length > 0 && length < sizeof text ? std::strtoul(text, nullptr, 10) : 0;
    return value > 1 ? static_cast<DWORD>(value) : 1;
  }();
  return ms * factor;
}
const UINT kRefusedAnswerDelay = Patient(5000);  // a dialog may take to close once answered
const DWORD kSettleLimit = Patient(2000);

thread_local Win32Driver* current = nullptr;

bool IsExtendedKey(int virtualKey) {
  switch (virtualKey) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
      return true;
    default:
      return false;
  }
}

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  return _wcsicmp(className, name) == 0;
}

// The id of a dialog's first visible push button, as the user would meet it.
int FirstButton(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!HasClass(child, L"Button") || !IsWindowVisible(child)) continue;
    const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return GetDlgCtrlID(child);
  }
  return IDOK;
}

// A dialog opened by the ANSI functions answers in the ANSI code page, whichever way it is asked.
std::u16string ShownFolder(HWND dialog) {
  if (IsWindowUnicode(dialog)) {
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return tk::win32::FromWide(folder, std::wcslen(folder));
  }
  char folder[MAX_PATH] = {};
  SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  return common::win32::FromAnsi(folder);
}

bool IsFileDialog(HWND dialog) {
  return GetDlgItem(dialog, 0x47c) != nullptr || GetDlgItem(dialog, 0x480) != nullptr;
}

MSG MakeMessage(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = target;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  GetCursorPos(&msg.pt);
  return msg;
}

// What a key does inside an open menu: a letter or digit chooses by access key, others navigate.
MSG MenuKey(HWND form, int virtualKey, std::int16_t shift) {
  const bool typed =
      (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
  if (typed && !(shift & tk::kCtrlBit)) {
    return MakeMessage(form, WM_CHAR, static_cast<WPARAM>(std::towlower(virtualKey)), 1);
  }
  return MakeMessage(form, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
}

}  // namespace

// Records what the program asks of the system, then shows the real message box or dialog.
class Win32Driver::RecordingBackend final : public Win32Backend {
 public:
  explicit RecordingBackend(Win32Driver& driver) : driver_(driver) {}

  int MessageBox(const std::u16string& text, int style, const std::u16string& title) override {
    return driver_.RecordMessageBox(text, style, title);
  }
  void Beep() override {
    driver_.RecordBeep();
    Win32Backend::Beep();
  }
  tk::DialogResult ShowFileDialog(tk::FileDialogRequest& request) override {
    return driver_.RecordFileDialog(request);
  }
  void OnModalShown(tk::Form& form) override {
    // Run from inside the modal form's own message loop, once it is up.
    PostThreadMessageW(GetCurrentThreadId(), kRunModalAction, 0, reinterpret_cast<LPARAM>(&form));
  }
  bool OnThreadMessage(const MSG& message) override {
    if (message.message != kRunModalAction) return false;
    auto* form = reinterpret_cast<tk::Form*>(message.lParam);
    if (WindowOf(form)) driver_.RunModalAction(*form);
    return true;
  }

  int RealMessageBox(const std::u16string& text, int style, const std::u16string& title) {
    return Win32Backend::MessageBox(text, style, title);
  }
  tk::DialogResult RealFileDialog(tk::FileDialogRequest& request) {
    return Win32Backend::ShowFileDialog(request);
  }

 protected:
  void EndProgram() noexcept override { ++driver_.programEnds_; }

 private:
  Win32Driver& driver_;
};

Win32Driver::Win32Driver() : backend_(std::make_unique<RecordingBackend>(*this)) {
  app_ = std::make_unique<tk::Application>(*backend_);
  current = this;
  hook_ = SetWindowsHookExW(WH_CBT, &Win32Driver::CbtHook, nullptr, GetCurrentThreadId());
}

Win32Driver::~Win32Driver() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (current == this) current = nullptr;
  app_.reset();
  if (!programEndExpected_) {
    EXPECT_EQ(programEnds_, 0) << "an exception reached a window procedure";
  }
}

tk::win32::Win32Backend& Win32Driver::Backend() { return *backend_; }

// ---------------------------------------------------------------------------------------------
// Dialogs

int Win32Driver::RecordMessageBox(const std::u16string& text, int style,
                                  const std::u16string& title) {
  PendingCall call;
  if (!messageBoxAnswers_.empty()) {
    DialogAnswer answer;
    answer.kind = DialogAnswer::Kind::kButton;
    answer.button = messageBoxAnswers_.front();
    messageBoxAnswers_.erase(messageBoxAnswers_.begin());
    call.answer = answer;
  }
  pending_.push_back(std::move(call));
  const int answer = backend_->RealMessageBox(text, style, title);
  pending_.pop_back();
  messageBoxes_.push_back({text, style, title, answer});
  return answer;
}

tk::DialogResult Win32Driver::RecordFileDialog(tk::FileDialogRequest& request) {
  fileDialogs_.push_back(request);
  PendingCall call;
  call.fileDialog = true;
  if (!fileDialogAnswers_.empty()) {
    DialogAnswer answer;
    answer.path = std::move(fileDialogAnswers_.front());
    fileDialogAnswers_.erase(fileDialogAnswers_.begin());
    answer.kind = answer.path.empty() ? DialogAnswer::Kind::kCancel : DialogAnswer::Kind::kFile;
    call.answer = std::move(answer);
  }
  pending_.push_back(std::move(call));
  const tk::DialogResult result = backend_->RealFileDialog(request);
  pending_.pop_back();
  return result;
}

LRESULT CALLBACK Win32Driver::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  try {
    if (current && code == HCBT_ACTIVATE)
      current->OnDialogActivating(reinterpret_cast<HWND>(wParam));
    if (current && code == HCBT_DESTROYWND) current->answers_.erase(reinterpret_cast<HWND>(wParam));
  } catch (...) {
    ADD_FAILURE() << "an exception reached the test driver's CBT hook";
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Win32Driver::OnDialogActivating(HWND dialog) {
  // Activated again after a nested box closed: answered already.
  if (!HasClass(dialog, L"#32770") || answers_.count(dialog) != 0) return;
  DialogAnswer answer;
  bool expected = false;
  for (auto call = pending_.rbegin(); call != pending_.rend(); ++call) {
    if (call->bound) continue;
    call->bound = true;
    if (call->answer) {
      answer = *call->answer;
      expected = true;
    }
    break;
  }
  if (!expected) ++unexpectedDialogs_;
  dialogOwners_.push_back(GetWindow(dialog, GW_OWNER));
  // A file dialog of no window leaves the form open to the user under it.
  if (IsFileDialog(dialog) && !GetWindow(dialog, GW_OWNER)) ++unexpectedDialogs_;
  answers_[dialog] = std::move(answer);
  // A moment later: a file dialog finishes setting itself up after it is activated.
  SetTimer(dialog, kAnswerTimerId, USER_TIMER_MINIMUM, &Win32Driver::AnswerTimer);
}

void CALLBACK Win32Driver::AnswerTimer(HWND dialog, UINT, UINT_PTR, DWORD) {
  if (current) current->AnswerDialog(dialog);
}

void Win32Driver::AnswerDialog(HWND dialog) {
  const auto found = answers_.find(dialog);
  if (found == answers_.end()) {
    KillTimer(dialog, kAnswerTimerId);
    return;
  }
  DialogAnswer& answer = found->second;
  if (answer.sent) {
    // Still open: the dialog refused the answer (a path that does not exist, say).
    ++unexpectedDialogs_;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  answer.sent = true;
  if (IsFileDialog(dialog)) {
    shownFolders_.push_back(ShownFolder(dialog));
    constexpr int kFileTypes = 0x470;  // cmb1, the list of filters
    shownFilters_.push_back(SendMessageW(GetDlgItem(dialog, kFileTypes), CB_GETCURSEL, 0, 0));
  }
  const DialogAnswer given = answer;  // the action may show and close dialogs of its own
  // The action settles the queue: the timer must not answer again under it, on a busy machine.
  KillTimer(dialog, kAnswerTimerId);
  RunBoxAction();
  if (!IsWindow(dialog)) return;
  SetTimer(dialog, kAnswerTimerId, kRefusedAnswerDelay, &Win32Driver::AnswerTimer);
  switch (given.kind) {
    case DialogAnswer::Kind::kButton:
      PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(given.button), 0);
      break;
    case DialogAnswer::Kind::kFile:
      if (!SetDlgItemTextW(dialog, 0x47c, tk::win32::WidePtr(given.path))) {
        SetDlgItemTextW(dialog, 0x480, tk::win32::WidePtr(given.path));
      }
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      break;
    case DialogAnswer::Kind::kCancel:
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      break;
    case DialogAnswer::Kind::kFirstButton:
      PostMessageW(dialog, WM_COMMAND,
                   static_cast<WPARAM>(IsFileDialog(dialog) ? IDCANCEL : FirstButton(dialog)), 0);
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Input

void Win32Driver::Show(tk::Form& form) {
  form.Show();
  Settle();
}

// Until the queue is empty; the limit stops a stream that never ends (a timer's, say). A message
// that showed a box ran the box's own loop meanwhile: what it posted comes after, so the count
// starts again from there.
void Win32Driver::Settle() {
  DWORD start = GetTickCount();
  MSG message{};
  while (GetTickCount() - start < kSettleLimit &&
         PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    const DWORD before = GetTickCount();
    backend_->ProcessMessage(message);
    if (GetTickCount() - before > kSettleLimit / 4) start = GetTickCount();
  }
}

bool Win32Driver::AcceptsInput(HWND control) const {
  if (!control || !IsWindowVisible(control)) return false;
  // A disabled control, frame or form takes no mouse input.
  for (HWND window = control; window; window = GetParent(window)) {
    if (!IsWindowEnabled(window)) return false;
    if (FormOf(window)) return true;
  }
  return false;
}

void Win32Driver::Click(tk::Control& control, std::int16_t shift) {
  const HWND window = WindowOf(control);
  if (!AcceptsInput(window)) return;
  openedMenu_.reset();
  const HWND form = GetAncestor(window, GA_ROOT);
  if (GetActiveWindow() != form) SetActiveWindow(form);
  if (control.Spec().kind == tk::ControlKind::kTextBox) {
    // Where exactly the click lands does not matter to the program: the caret goes to the end.
    SetFocus(window);
    if (IsWindow(window)) {
      const int end = GetWindowTextLengthW(window);
      SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
  } else {
    PressMouseButton(window, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, shift);
  }
  Settle();
}

void Win32Driver::Press(tk::Control& control, std::int16_t button, std::int16_t shift) {
  if (button == tk::kLeftButton) {
    Click(control, shift);
    return;
  }
  const HWND window = WindowOf(control);
  if (!AcceptsInput(window)) return;
  if (button == tk::kMiddleButton) {
    PressMouseButton(window, WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, shift);
  } else {
    PressMouseButton(window, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, shift);
  }
  Settle();
}

// A press and release in the middle of `window`, with the Shift and Ctrl keys as `shift` says.
void Win32Driver::PressMouseButton(HWND window, UINT down, UINT up, WPARAM button,
                                   std::int16_t shift) {
  WPARAM keys = 0;
  if (shift & tk::kShiftBit) keys |= MK_SHIFT;
  if (shift & tk::kCtrlBit) keys |= MK_CONTROL;
  RECT client{};
  GetClientRect(window, &client);
  const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
  SendMessageW(window, down, keys | button, middle);
  if (IsWindow(window)) SendMessageW(window, up, keys, middle);
}

HWND Win32Driver::KeyboardTarget() const {
  const HWND active = GetActiveWindow();
  if (!FormOf(active) || !IsWindowEnabled(active)) return nullptr;
  const HWND focus = GetFocus();
  return focus && IsChild(active, focus) ? focus : active;
}

void Win32Driver::SendKey(HWND target, UINT message, int virtualKey, bool alt, bool release) {
  const UINT scanCode = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
  LPARAM lParam = 1 | static_cast<LPARAM>(scanCode << 16);
  if (IsExtendedKey(virtualKey)) lParam |= 1 << 24;
  if (alt) lParam |= 1 << 29;
  if (release) lParam |= (1 << 30) | (static_cast<LPARAM>(1) << 31);
  MSG key = MakeMessage(target, message, static_cast<WPARAM>(virtualKey), lParam);
  backend_->ProcessMessage(key);
}

void Win32Driver::Type(std::u16string_view characters) {
  for (const char16_t character : characters) {
    if (openedMenu_) {
      DriveOpenedMenu(MakeMessage(openedMenu_->form, WM_CHAR, character, 1));
      continue;
    }
    const HWND target = KeyboardTarget();
    if (!target) return;
    // The character alone, through the dialog manager: on a control that takes no text it is an
    // access key. A window of the ANSI road gets it as the keyboard of Windows 9x sends it: the
    // bytes of the system's code page, a double-byte character as its two bytes.
    char bytes[2] = {'?', 0};
    const int count =
        IsWindowUnicode(target)
            ? 0
            : WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(&character), 1, bytes,
                                  sizeof bytes, nullptr, nullptr);
    for (int i = 0; i < std::max(count, 1); ++i) {
      MSG typed =
          MakeMessage(target, WM_CHAR, count ? static_cast<unsigned char>(bytes[i]) : character, 1);
      backend_->ProcessMessage(typed);
    }
    Settle();
  }
}

void Win32Driver::PressKey(int virtualKey, std::int16_t shift) {
  const bool ctrl = (shift & tk::kCtrlBit) != 0, alt = (shift & tk::kAltBit) != 0;
  if (openedMenu_) {
    DriveOpenedMenu(MenuKey(openedMenu_->form, virtualKey, shift));
    return;
  }
  const HWND target = KeyboardTarget();
  if (!target) return;
  const HWND formWindow = GetAncestor(target, GA_ROOT);

  if (alt && !ctrl) {
    // Alt+letter opening a sub-menu: the menu is driven once the key that acts in it comes.
    const tk::Form* form = FormOf(formWindow);
    bool control = false;
    for (const auto& member : form->Controls()) {
      const HWND window = WindowOf(*member);
      control = control || (window && IsWindowVisible(window) && IsWindowEnabled(window) &&
                            tk::AccessKey(tk::win32::WindowText(window)) == virtualKey);
    }
    for (const auto& item : form->Menus()) {
      if (!control && item->Spec().parent.empty() && !item->IsSeparator() &&
          tk::AccessKey(item->Spec().caption) == virtualKey && HasSubMenu(*item, *form)) {
        openedMenu_ = OpenedMenu{formWindow, static_cast<char16_t>(virtualKey)};
        return;
      }
    }
  }

  BYTE saved[256] = {};
  GetKeyboardState(saved);
  BYTE state[256];
  std::memcpy(state, saved, sizeof(state));
  const bool shifted = (shift & tk::kShiftBit) != 0;
  for (const int key : {VK_SHIFT, VK_LSHIFT}) state[key] = shifted ? 0x80 : 0;
  for (const int key : {VK_CONTROL, VK_LCONTROL}) state[key] = ctrl ? 0x80 : 0;
  for (const int key : {VK_MENU, VK_LMENU}) state[key] = alt ? 0x80 : 0;
  state[virtualKey & 0xFF] = 0x80;
  SetKeyboardState(state);

  const UINT down = alt && !ctrl ? WM_SYSKEYDOWN : WM_KEYDOWN;
  SendKey(target, down, virtualKey, alt, false);
  Settle();
  state[virtualKey & 0xFF] = 0;
  SetKeyboardState(state);
  if (const HWND after = KeyboardTarget()) SendKey(after, down + 1, virtualKey, alt, true);
  Settle();
  SetKeyboardState(saved);
}

void Win32Driver::DriveOpenedMenu(MSG key) {
  const OpenedMenu menu = *openedMenu_;
  openedMenu_.reset();
  if (!IsWindow(menu.form) || !IsWindowEnabled(menu.form)) return;
  menuKeys_ = {key};
  // The menu loop runs inside the SendMessage below; the timer feeds it the key, then Esc until
  // it has ended, so that a key that does nothing there cannot hold the test.
  SetTimer(menu.form, kMenuTimerId, USER_TIMER_MINIMUM, &Win32Driver::MenuTimer);
  SendMessageW(menu.form, WM_SYSCOMMAND, SC_KEYMENU,
               static_cast<LPARAM>(std::towlower(menu.accessKey)));
  if (IsWindow(menu.form)) KillTimer(menu.form, kMenuTimerId);
  menuKeys_.clear();
  Settle();
}

void CALLBACK Win32Driver::MenuTimer(HWND form, UINT, UINT_PTR, DWORD) {
  if (!current) return;
  if (!current->menuKeys_.empty()) {
    for (const MSG& key : current->menuKeys_) {
      PostMessageW(form, key.message, key.wParam, key.lParam);
    }
    current->menuKeys_.clear();
    return;
  }
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE)) {
    PostMessageW(form, WM_KEYDOWN, VK_ESCAPE, 1);
  } else {
    KillTimer(form, kMenuTimerId);
  }
}

void Win32Driver::Paste(std::u16string_view text) {
  const HWND focus = GetFocus();
  const tk::Control* control = ControlOf(focus);
  if (!control || control->Spec().kind != tk::ControlKind::kTextBox) return;
  const std::u16string replacement(text);
  SendMessageW(focus, EM_REPLACESEL, TRUE,
               reinterpret_cast<LPARAM>(tk::win32::WidePtr(replacement)));
  Settle();
}

void Win32Driver::SelectAll() {
  const HWND focus = GetFocus();
  const tk::Control* control = ControlOf(focus);
  if (control && control->Spec().kind == tk::ControlKind::kTextBox) {
    SendMessageW(focus, EM_SETSEL, 0, -1);
  }
}

void Win32Driver::ChooseMenu(tk::MenuItem& item) {
  openedMenu_.reset();
  UINT command = 0;
  const HWND form = MenuCommandOf(item, &command);
  if (!form || !IsWindowVisible(form) || !IsWindowEnabled(form)) return;
  if (GetActiveWindow() != form) SetActiveWindow(form);
  if (HasSubMenu(item, *FormOf(form))) {
    openedMenu_ = OpenedMenu{form, tk::AccessKey(item.Spec().caption)};
    return;
  }
  PostMessageW(form, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  Settle();
}

void Win32Driver::CloseBox(tk::Form& form) {
  const HWND window = WindowOf(form);
  // A disabled window's close box does nothing.
  if (!window || !IsWindowVisible(window) || !IsWindowEnabled(window)) return;
  openedMenu_.reset();
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  Settle();
}

// What taskkill without /f sends.
void Win32Driver::EndTask(tk::Form& form) {
  const HWND window = WindowOf(form);
  if (!window) return;
  openedMenu_.reset();
  PostMessageW(window, WM_CLOSE, 0, 0);
  Settle();
}

// The system asks, then says whether the session ends: a window that agreed hears it either way.
void Win32Driver::EndSession(tk::Form& form, bool ends) {
  const HWND window = WindowOf(form);
  if (!window) return;
  openedMenu_.reset();
  const LRESULT mayEnd = SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  if (mayEnd && IsWindow(window)) {
    SendMessageW(window, WM_ENDSESSION, ends, ENDSESSION_LOGOFF);
  }
  Settle();
}

// As the shell drops: a DROPFILES block in global memory, posted to a window that takes drops.
void Win32Driver::DropFile(tk::Form& form, const std::u16string& path) {
  const HWND window = WindowOf(form);
  if (!window || !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) return;
  const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  const HGLOBAL drop = GlobalAlloc(GHND, bytes);
  if (!drop) return;
  auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  path.copy(reinterpret_cast<char16_t*>(files + 1), path.size());  // GHND: zeros after it
  GlobalUnlock(drop);
  // The window releases it with DragFinish.
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  Settle();
}

// ---------------------------------------------------------------------------------------------
// What the screen shows

std::u16string Win32Driver::ShownText(tk::Control& control) {
  const HWND window = WindowOf(control);
  return window ? tk::win32::WindowText(window) : std::u16string();
}

bool Win32Driver::ShownEnabled(tk::Control& control) {
  const HWND window = WindowOf(control);
  return window && IsWindowEnabled(window);
}

bool Win32Driver::ShownChecked(tk::Control& control) {
  const HWND window = WindowOf(control);
  return window && SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

tk::Control* Win32Driver::ShownFocus(tk::Form& form) {
  tk::Control* control = ControlOf(GetFocus());
  return control && &control->Parent() == &form ? control : nullptr;
}

int Win32Driver::ShownCaret(tk::Control& control) {
  const HWND window = WindowOf(control);
  if (!window) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  POINT caret{};
  if (GetFocus() == window && GetCaretPos(&caret)) {
    // With a selection the caret is at either end; the edit knows which from where it stands.
    const LRESULT at = SendMessageW(window, EM_CHARFROMPOS, 0, MAKELPARAM(caret.x, caret.y));
    const auto position = static_cast<DWORD>(LOWORD(at));
    if (position == start || position == end) return static_cast<int>(position);
  }
  return static_cast<int>(end);
}

bool Win32Driver::ShownVisible(tk::Form& form) {
  const HWND window = WindowOf(form);
  return window && IsWindowVisible(window);
}

std::unique_ptr<Driver> MakeDriver() { return std::make_unique<Win32Driver>(); }

}  // namespace tktest
