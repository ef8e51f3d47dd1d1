// The W road: every Windows but 95, 98 and ME.

#include <cstddef>
#include <cwchar>

#include "common/win32/windows_version.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/late_libraries.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

std::wstring WideName(const char* name) {
  std::wstring wide;
  for (; *name; ++name) wide += static_cast<wchar_t>(*name);
  return wide;
}

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

class WideCalls final : public WindowsCalls {
 public:
  ATOM RegisterFormClass(WNDPROC procedure, int windowExtra, HBRUSH background, HICON icon,
                         HICON smallIcon, const char* name) const override {
    const std::wstring className = WideName(name);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = windowExtra;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className.c_str();
    return RegisterClassExW(&windowClass);
  }
  HWND NewWindow(DWORD exStyle, const char* className, const std::u16string& text, DWORD style,
                 int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                 void* param) const override {
    const std::wstring name = IS_INTRESOURCE(className) ? std::wstring() : WideName(className);
    return CreateWindowExW(
        exStyle, IS_INTRESOURCE(className) ? reinterpret_cast<LPCWSTR>(className) : name.c_str(),
        WidePtr(text), style, x, y, width, height, parent, menuOrId, GetModuleHandleA(nullptr),
        param);
  }
  LRESULT DialogDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const override {
    return DefDlgProcW(window, message, wParam, lParam);
  }
  LRESULT WindowDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const override {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) const override {
    return CallWindowProcW(procedure, window, message, wParam, lParam);
  }
  LONG_PTR Long(HWND window, int index) const override { return GetWindowLongPtrW(window, index); }
  LONG_PTR SetLong(HWND window, int index, LONG_PTR value) const override {
    return SetWindowLongPtrW(window, index, value);
  }
  ULONG_PTR ClassAtom(HWND window) const override { return GetClassLongPtrW(window, GCW_ATOM); }
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const override {
    return SendMessageW(window, message, wParam, lParam);
  }
  BOOL Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const override {
    return PostMessageW(window, message, wParam, lParam);
  }
  std::u16string Text(HWND window) const override {
    const int length = GetWindowTextLengthW(window);
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return FromWide(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
  }
  void SetText(HWND window, const std::u16string& text) const override {
    SetWindowTextW(window, WidePtr(text));
  }
  int SelectionStart(HWND edit) const override {
    DWORD start = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
  }
  void Select(HWND edit, int start, int end) const override {
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
  }

  BOOL NextMessage(MSG& message) const override { return GetMessageW(&message, nullptr, 0, 0); }
  BOOL Accelerate(HWND window, HACCEL table, MSG& message) const override {
    return TranslateAcceleratorW(window, table, &message);
  }
  BOOL DialogKey(HWND dialog, MSG& message) const override {
    return IsDialogMessageW(dialog, &message);
  }
  LRESULT Dispatch(const MSG& message) const override { return DispatchMessageW(&message); }

  HACCEL NewAcceleratorTable(ACCEL* entries, int count) const override {
    return CreateAcceleratorTableW(entries, count);
  }
  BOOL AppendMenuItem(HMENU menu, UINT flags, UINT_PTR id,
                      const std::u16string& text) const override {
    return AppendMenuW(menu, flags, id, WidePtr(text));
  }
  bool MessageFont(LOGFONTW& font) const override {
    NONCLIENTMETRICSW metrics{};
    // The size Windows 2000 and XP know: they refuse one counting Vista's iPaddedBorderWidth.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
    font = metrics.lfMessageFont;
    return true;
  }
  HFONT NewFont(const LOGFONTW& font) const override { return CreateFontIndirectW(&font); }
  bool FaceExists(const std::u16string& face) const override {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    face.copy(reinterpret_cast<char16_t*>(query.lfFaceName), face.size());
    bool found = false;
    WindowDc screen(nullptr);
    EnumFontFamiliesExW(screen.Get(), &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
  }
  bool CodePageHolds(const std::u16string&) const override { return true; }
  RECT MeasureText(HDC dc, const std::u16string& text, UINT format) const override {
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, WidePtr(text), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    return rect;
  }

  std::u16string ProgramPath() const override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length =
          GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (length == 0) return {};
      if (length < path.size()) return FromWide(path.data(), length);
      path.resize(path.size() * 2);  // truncated: try again with room to spare
    }
  }
  bool ChooseFile(FileChoice& choice, DWORD& error) const override {
    static const FileDialogFunctions<OPENFILENAMEW> dialogs("GetOpenFileNameW", "GetSaveFileNameW");
    error = CDERR_INITIALIZATION;
    if (!dialogs.Loaded()) return false;
    // Large enough for any path Windows accepts.
    std::wstring buffer(32768, L'\0');
    choice.fileName.copy(reinterpret_cast<char16_t*>(buffer.data()),
                         std::min(choice.fileName.size(), buffer.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize =
        common::win32::IsBeforeWindows2000() ? OPENFILENAME_SIZE_VERSION_400W : sizeof(dialog);
    dialog.hwndOwner = choice.owner;
    dialog.lpstrFilter = choice.filter.empty() ? nullptr : WidePtr(choice.filter);
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = choice.initialFolder.empty() ? nullptr : WidePtr(choice.initialFolder);
    dialog.lpstrTitle = choice.title.empty() ? nullptr : WidePtr(choice.title);
    dialog.lpstrDefExt =
        choice.defaultExtension.empty() ? nullptr : WidePtr(choice.defaultExtension);
    dialog.Flags = choice.flags;
    if (choice.save ? dialogs.save(&dialog) : dialogs.open(&dialog)) {
      choice.fileName = FromWide(buffer.c_str(), std::wcslen(buffer.c_str()));
      return true;
    }
    error = dialogs.error();
    return false;
  }
  std::u16string TakeDroppedFile(HDROP drop) const override {
    static const DropFunctions<wchar_t> shell("DragQueryFileW");
    return FromWide(shell.TakeFirst(drop));
  }
};

}  // namespace

const WindowsCalls& WideWindowsCalls() {
  static const WideCalls calls;
  return calls;
}

#if !defined(TINTMARK_ANSI_ROAD)
const WindowsCalls& WideOrAnsi() { return WideWindowsCalls(); }
#endif

}  // namespace tk::win32
