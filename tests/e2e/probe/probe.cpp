// e2e_probe: reads the windows of another process for the end-to-end scripts.
//
//   e2e_probe wait-window TITLE [timeout_ms]   exit 0 once a top-level window TITLE exists
//   e2e_probe wait-gone TITLE [timeout_ms]     exit 0 once no top-level window TITLE exists
//   e2e_probe exists TITLE                     exit 0 when it exists, 1 when not
//   e2e_probe window TITLE                     outer rect, style, client origin and size, DPI
//   e2e_probe client TITLE                     client origin (screen) and size: "X Y W H"
//   e2e_probe controls TITLE                   one line per child control, see PrintControl
//   e2e_probe focus TITLE                      the focused control of the window's thread
//   e2e_probe closebox TITLE                   screen point in the middle of the close box
//   e2e_probe dialogs                          every visible "#32770" window without a menu bar,
//                                              with its buttons and texts
//   e2e_probe names TITLE                      each control as `controls` prints it, then the name
//                                              a screen reader reads for it (MSAA)
//   e2e_probe loaded TITLE MODULE              exit 0 when the window's process has MODULE loaded
//   e2e_probe send TITLE MESSAGE WPARAM LPARAM sends the window MESSAGE (numbers, 0x for hex)
//                                              from this process, as another program does, and
//                                              prints what it returned
//   e2e_probe icon-file EXE                    the images of EXE's icon 1 in file order, one line
//                                              each: "WIDTHxHEIGHT BITS bmp|png", and
//                                              " (unsound)" after an image that does not agree
//                                              with its directory entry or its alpha
//
// Output is UTF-8, fields separated by tabs. Texts are escaped (\r \n \t \\) so that every record
// stays on one line and a message's line breaks can be compared exactly.

#include <windows.h>
// After windows.h:
#include <oleacc.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr UINT kMessageTimeoutMs = 2000;

void Write(const std::wstring& text) {
  if (text.empty()) return;
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

std::wstring Escape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'\r':
        out += L"\\r";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\t':
        out += L"\\t";
        break;
      case L'\\':
        out += L"\\\\";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// WM_GETTEXT reaches the control itself, so an edit's text comes back too (GetWindowText does
// not ask another process's window).
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                           &length)) {
    return L"";
  }
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &copied)) {
    return L"";
  }
  return std::wstring(buffer.data(), copied);
}

std::wstring Rect(const RECT& r) {
  return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right) +
         L" " + std::to_wstring(r.bottom);
}

std::wstring Hex(unsigned long long value) {
  wchar_t buffer[32];
  swprintf(buffer, 32, L"0x%llx", value);
  return buffer;
}

// How well a window of the wanted title fits: a visible window with a menu bar is a program's main
// window, which wins over a message box or a file dialog that carries the same title.
int Fit(HWND window) {
  if (!IsWindowVisible(window)) return 1;
  if (GetMenu(window)) return 4;
  return ClassOf(window) != kDialogClass ? 3 : 2;
}

struct TopLevelSearch {
  std::wstring title;
  HWND best = nullptr;
  int bestFit = 0;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TopLevelSearch*>(data);
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  if (search.title != title) return TRUE;
  const int fit = Fit(window);
  if (fit > search.bestFit) {
    search.best = window;
    search.bestFit = fit;
  }
  return TRUE;
}

HWND FindTopLevel(const std::wstring& title) {
  TopLevelSearch search{title};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.best;
}

HWND RequireWindow(const std::wstring& title) {
  HWND window = FindTopLevel(title);
  if (!window) {
    Write(L"no window titled \"" + title + L"\"\n");
    std::exit(1);
  }
  return window;
}

std::wstring ButtonState(HWND control) {
  if (ClassOf(control) != L"Button") return L"-";
  DWORD_PTR check = 0;
  SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &check);
  return std::to_wstring(check);
}

// left top right bottom (screen) | class | enabled | visible | checked (- for non-buttons) |
// control id | style | text
std::wstring DescribeControl(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  const auto style = static_cast<unsigned long>(GetWindowLongPtrW(control, GWL_STYLE));
  return Rect(rect) + L"\t" + ClassOf(control) + L"\t" + (IsWindowEnabled(control) ? L"1" : L"0") +
         L"\t" + (IsWindowVisible(control) ? L"1" : L"0") + L"\t" + ButtonState(control) + L"\t" +
         std::to_wstring(GetDlgCtrlID(control)) + L"\t" + Hex(style) + L"\t" +
         Escape(TextOf(control));
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  Write(DescribeControl(control) + L"\n");
  return TRUE;
}

// The name a screen reader reads for the control's client object (MSAA).
BOOL CALLBACK PrintControlName(HWND control, LPARAM) {
  IAccessible* object = nullptr;
  BSTR name = nullptr;
  VARIANT self{};
  V_VT(&self) = VT_I4;  // with 0, CHILDID_SELF
  if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                           __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&object)))) {
    object->get_accName(self, &name);
    object->Release();
  }
  Write(DescribeControl(control) + L"\t" + Escape(name ? name : L"(none)") + L"\n");
  SysFreeString(name);
  return TRUE;
}

int ModuleLoaded(HWND window, const std::wstring& module) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL more = Module32FirstW(snapshot, &entry); more && !found;
       more = Module32NextW(snapshot, &entry)) {
    found = _wcsicmp(entry.szModule, module.c_str()) == 0;
  }
  CloseHandle(snapshot);
  return found ? 0 : 1;
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// Whether a bitmap agrees with its directory entry, and a 32-bit one's mask with its alpha: a
// system that knows no alpha (Windows 2000 and older) draws it through the mask, which shows the
// shape alone when it lets the background through exactly where the image is 0, transparent.
bool Sound(const BITMAPINFOHEADER& header, const GroupIconEntry& entry, LONG side) {
  if (header.biWidth != side || header.biHeight != 2 * side || header.biBitCount != entry.bits) {
    return false;
  }
  const auto* pixels = reinterpret_cast<const DWORD*>(&header + 1);
  const auto* mask = reinterpret_cast<const BYTE*>(pixels + side * side);
  for (LONG i = 0; entry.bits == 32 && i < side * side; ++i) {
    const LONG x = i % side;
    const bool through = mask[i / side * ((side + 31) / 32 * 4) + x / 8] & (0x80 >> (x % 8));
    if (through != (pixels[i] == 0)) return false;
  }
  return true;
}

// The images of the executable's icon, in their order, as the system reads them.
int PrintIconFile(const std::wstring& exe) {
  const HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  if (!group) return 1;
  const auto* directory = static_cast<const WORD*>(LockResource(LoadResource(module, group)));
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(directory + 3);
  for (WORD i = 0; i < directory[2]; ++i) {
    const GroupIconEntry& entry = entries[i];
    const HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(entry.id), RT_ICON);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, image)));
    const LONG side = entry.width ? entry.width : 256;
    const bool png = std::memcmp(data, "\x89PNG", 4) == 0;
    const bool sound =
        SizeofResource(module, image) == entry.bytes &&
        (png || Sound(*reinterpret_cast<const BITMAPINFOHEADER*>(data), entry, side));
    Write(std::to_wstring(side) + L"x" + std::to_wstring(entry.height ? entry.height : 256) + L" " +
          std::to_wstring(entry.bits) + (png ? L" png" : L" bmp") + (sound ? L"" : L" (unsound)") +
          L"\n");
  }
  return 0;
}

int WaitFor(const std::wstring& title, DWORD timeoutMs, bool present) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const bool found = FindTopLevel(title) != nullptr;
    if (found == present) return 0;
    if (GetTickCount64() >= deadline) return 1;
    Sleep(50);
  }
}

int PrintClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  Write(std::to_wstring(origin.x) + L" " + std::to_wstring(origin.y) + L" " +
        std::to_wstring(client.right - client.left) + L" " +
        std::to_wstring(client.bottom - client.top) + L"\n");
  return 0;
}

int PrintWindow(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  UINT dpi = 0;
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  if (auto fn = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")))) {
    dpi = fn(window);
  }
  const auto style = static_cast<unsigned long>(GetWindowLongPtrW(window, GWL_STYLE));
  Write(L"rect\t" + Rect(outer) + L"\n");
  Write(L"class\t" + ClassOf(window) + L"\n");
  Write(L"style\t" + Hex(style) + L"\n");
  Write(L"client\t" + std::to_wstring(origin.x) + L" " + std::to_wstring(origin.y) + L" " +
        std::to_wstring(client.right) + L" " + std::to_wstring(client.bottom) + L"\n");
  Write(L"dpi\t" + std::to_wstring(dpi) + L"\n");
  Write(L"menu\t" + std::wstring(GetMenu(window) ? L"1" : L"0") + L"\n");
  return 0;
}

int PrintFocus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!GetGUIThreadInfo(thread, &info)) {
    Write(L"GetGUIThreadInfo failed\n");
    return 1;
  }
  if (!info.hwndFocus) {
    Write(L"none\n");
    return 0;
  }
  Write(DescribeControl(info.hwndFocus) + L"\n");
  return 0;
}

BOOL CALLBACK PrintDialogChild(HWND control, LPARAM) {
  const std::wstring kind = ClassOf(control);
  if (kind != L"Static" && kind != L"Button") return TRUE;
  if (!IsWindowVisible(control)) return TRUE;
  const std::wstring text = TextOf(control);
  if (kind == L"Static" && text.empty()) return TRUE;  // the icon
  Write(L"  " + DescribeControl(control) + L"\n");
  return TRUE;
}

// Message boxes, file dialogs and modal windows; a dialog-class window with a menu bar is a main
// window, not one of them.
BOOL CALLBACK PrintDialog(HWND window, LPARAM) {
  if (!IsWindowVisible(window) || ClassOf(window) != kDialogClass || GetMenu(window)) return TRUE;
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  RECT rect{};
  GetWindowRect(window, &rect);
  Write(L"dialog\t" + Rect(rect) + L"\t" + Escape(title) + L"\n");
  EnumChildWindows(window, PrintDialogChild, 0);
  return TRUE;
}

// Wine draws the caption itself when no window manager does it, so the close box is found by asking
// the window's own hit test along the caption.
int PrintCloseBox(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  long sumX = 0, sumY = 0, hits = 0;
  for (int y = outer.top; y < outer.top + 48 && y < outer.bottom; ++y) {
    for (int x = outer.right - 1; x >= outer.right - 64 && x >= outer.left; --x) {
      DWORD_PTR hit = 0;
      if (!SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG,
                               kMessageTimeoutMs, &hit)) {
        continue;
      }
      if (hit == HTCLOSE) {
        sumX += x;
        sumY += y;
        ++hits;
      }
    }
  }
  if (hits == 0) {
    Write(L"no close box\n");
    return 1;
  }
  Write(std::to_wstring(sumX / hits) + L" " + std::to_wstring(sumY / hits) + L"\n");
  return 0;
}

int Usage() {
  Write(
      L"usage: e2e_probe wait-window|wait-gone TITLE [timeout_ms] | exists TITLE | window TITLE |"
      L" client TITLE | controls TITLE | focus TITLE | closebox TITLE | dialogs | names TITLE |"
      L" loaded TITLE MODULE | send TITLE MESSAGE WPARAM LPARAM | icon-file EXE\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  if (command == L"dialogs") {
    EnumWindows(PrintDialog, 0);
    return 0;
  }
  if (argc < 3) return Usage();
  if (command == L"icon-file") return PrintIconFile(argv[2]);
  const std::wstring title = argv[2];
  const DWORD timeoutMs = argc > 3 ? static_cast<DWORD>(wcstoul(argv[3], nullptr, 10)) : 10000;
  if (command == L"wait-window") return WaitFor(title, timeoutMs, true);
  if (command == L"wait-gone") return WaitFor(title, timeoutMs, false);
  if (command == L"exists") return FindTopLevel(title) ? 0 : 1;
  HWND window = RequireWindow(title);
  if (command == L"client") return PrintClient(window);
  if (command == L"window") return PrintWindow(window);
  if (command == L"focus") return PrintFocus(window);
  if (command == L"closebox") return PrintCloseBox(window);
  if (command == L"controls") {
    EnumChildWindows(window, PrintControl, 0);
    return 0;
  }
  if (command == L"names") {
    CoInitialize(nullptr);
    EnumChildWindows(window, PrintControlName, 0);
    CoUninitialize();
    return 0;
  }
  if (command == L"loaded" && argc > 3) return ModuleLoaded(window, argv[3]);
  if (command == L"send" && argc > 5) {
    // Sent, not posted: the receiver handles it inside its GetMessage, which returns nothing.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, wcstoul(argv[3], nullptr, 0), wcstoul(argv[4], nullptr, 0),
                             static_cast<LPARAM>(wcstol(argv[5], nullptr, 0)), SMTO_NORMAL,
                             kMessageTimeoutMs * 5, &result)) {
      Write(L"no answer\n");
      return 1;
    }
    Write(std::to_wstring(result) + L"\n");
    return 0;
  }
  return Usage();
}
