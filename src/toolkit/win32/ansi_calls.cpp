// The A road of the 32-bit program: Windows 95, 98 and ME, where text crosses in the system's ANSI
// code page. Everything above this file stays UTF-16.

#include "toolkit/win32/windows_calls.h"

#if defined(TINTMARK_ANSI_ROAD)

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "common/win32/ansi_text.h"
#include "common/win32/windows_version.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/late_libraries.h"

namespace tk::win32 {

const WindowsCalls& WideWindowsCalls();

namespace {

using common::win32::FromAnsi;
using common::win32::ToAnsi;

std::string WindowBytes(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, buffer.data(), length + 1);
  buffer.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return buffer;
}

int CALLBACK NoteFaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// LOGFONTA and LOGFONTW share every field but the face name, which comes last.
static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName));
template <class To, class From>
void CopyFontFields(To& to, const From& from) {
  std::memcpy(&to, &from, offsetof(LOGFONTW, lfFaceName));
}

void SetFace(LOGFONTA& font, const std::u16string& face) {
  const std::string bytes = ToAnsi(face);
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  bytes.copy(font.lfFaceName, std::min(bytes.size(), sizeof font.lfFaceName - 1));
}

class AnsiCalls final : public WindowsCalls {
 public:
  ATOM RegisterFormClass(WNDPROC procedure, int windowExtra, HBRUSH background, HICON icon,
                         HICON smallIcon, const char* name) const override {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = windowExtra;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass);
  }
  HWND NewWindow(DWORD exStyle, const char* className, const std::u16string& text, DWORD style,
                 int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                 void* param) const override {
    return CreateWindowExA(exStyle, className, ToAnsi(text).c_str(), style, x, y, width, height,
                           parent, menuOrId, GetModuleHandleA(nullptr), param);
  }
  LRESULT DialogDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const override {
    return DefDlgProcA(window, message, wParam, lParam);
  }
  LRESULT WindowDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const override {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) const override {
    return CallWindowProcA(procedure, window, message, wParam, lParam);
  }
  LONG_PTR Long(HWND window, int index) const override { return GetWindowLongA(window, index); }
  LONG_PTR SetLong(HWND window, int index, LONG_PTR value) const override {
    return SetWindowLongA(window, index, value);
  }
  ULONG_PTR ClassAtom(HWND window) const override { return GetClassLongA(window, GCW_ATOM); }
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const override {
    return SendMessageA(window, message, wParam, lParam);
  }
  BOOL Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const override {
    return PostMessageA(window, message, wParam, lParam);
  }
  std::u16string Text(HWND window) const override { return FromAnsi(WindowBytes(window)); }
  void SetText(HWND window, const std::u16string& text) const override {
    SetWindowTextA(window, ToAnsi(text).c_str());
  }
  // An ANSI edit control counts its positions in bytes, two for a double-byte character.
  int SelectionStart(HWND edit) const override {
    DWORD start = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const std::string bytes = WindowBytes(edit);
    return static_cast<int>(FromAnsi(std::string_view(bytes).substr(0, start)).size());
  }
  void Select(HWND edit, int start, int end) const override {
    const std::u16string text = Text(edit);
    const auto bytesBefore = [&text](int position) {
      const auto units =
          static_cast<std::size_t>(std::clamp(position, 0, static_cast<int>(text.size())));
      return static_cast<LPARAM>(ToAnsi(std::u16string_view(text).substr(0, units)).size());
    };
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(bytesBefore(start)), bytesBefore(end));
  }

  BOOL NextMessage(MSG& message) const override { return GetMessageA(&message, nullptr, 0, 0); }
  BOOL Accelerate(HWND window, HACCEL table, MSG& message) const override {
    return TranslateAcceleratorA(window, table, &message);
  }
  BOOL DialogKey(HWND dialog, MSG& message) const override {
    return IsDialogMessageA(dialog, &message);
  }
  LRESULT Dispatch(const MSG& message) const override { return DispatchMessageA(&message); }

  HACCEL NewAcceleratorTable(ACCEL* entries, int count) const override {
    return CreateAcceleratorTableA(entries, count);
  }
  BOOL AppendMenuItem(HMENU menu, UINT flags, UINT_PTR id,
                      const std::u16string& text) const override {
    return AppendMenuA(menu, flags, id, ToAnsi(text).c_str());
  }
  bool MessageFont(LOGFONTW& font) const override {
    NONCLIENTMETRICSA metrics{};
    // 340 bytes: what the systems before Vista know.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
    font = LOGFONTW{};
    CopyFontFields(font, metrics.lfMessageFont);
    const std::u16string face = FromAnsi(metrics.lfMessageFont.lfFaceName);
    face.copy(reinterpret_cast<char16_t*>(font.lfFaceName),
              std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    return true;
  }
  HFONT NewFont(const LOGFONTW& font) const override {
    LOGFONTA ansi{};
    CopyFontFields(ansi, font);
    SetFace(ansi, FromWide(font.lfFaceName, std::char_traits<wchar_t>::length(font.lfFaceName)));
    return CreateFontIndirectA(&ansi);
  }
  bool FaceExists(const std::u16string& face) const override {
    if (face.empty()) return false;
    LOGFONTA query{};
    query.lfCharSet = DEFAULT_CHARSET;
    SetFace(query, face);
    bool found = false;
    WindowDc screen(nullptr);
    EnumFontFamiliesExA(screen.Get(), &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
  }
  bool CodePageHolds(const std::u16string& text) const override {
    return common::win32::ToAnsiExactly(text).has_value();
  }
  RECT MeasureText(HDC dc, const std::u16string& text, UINT format) const override {
    const std::string bytes = ToAnsi(text);
    RECT rect{0, 0, 0, 0};
    DrawTextA(dc, bytes.c_str(), static_cast<int>(bytes.size()), &rect, format | DT_CALCRECT);
    return rect;
  }

  std::u16string ProgramPath() const override {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FromAnsi(std::string_view(path, length));
  }
  bool ChooseFile(FileChoice& choice, DWORD& error) const override {
    static const FileDialogFunctions<OPENFILENAMEA> dialogs("GetOpenFileNameA", "GetSaveFileNameA");
    error = CDERR_INITIALIZATION;
    if (!dialogs.Loaded()) return false;
    const std::string filter = ToAnsi(choice.filter), folder = ToAnsi(choice.initialFolder),
                      title = ToAnsi(choice.title), extension = ToAnsi(choice.defaultExtension);
    std::string buffer(32768, '\0');
    const std::string offered = ToAnsi(choice.fileName);
    offered.copy(buffer.data(), std::min(offered.size(), buffer.size() - 1));
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = choice.owner;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = choice.flags;
    if (choice.save ? dialogs.save(&dialog) : dialogs.open(&dialog)) {
      choice.fileName = FromAnsi(buffer.c_str());
      return true;
    }
    error = dialogs.error();
    return false;
  }
  std::u16string TakeDroppedFile(HDROP drop) const override {
    static const DropFunctions<char> shell("DragQueryFileA");
    return FromAnsi(shell.TakeFirst(drop));
  }
};

}  // namespace

const WindowsCalls& WideOrAnsi() {
  static const AnsiCalls ansi;
  static const WindowsCalls& calls =
      common::win32::IsWindows9x() ? static_cast<const WindowsCalls&>(ansi) : WideWindowsCalls();
  return calls;
}

}  // namespace tk::win32

#endif
