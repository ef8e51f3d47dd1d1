#include "toolkit/win32/system_metrics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>

#include "common/win32/system_function.h"
#include "toolkit/font_face.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using MonitorFromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

template <class Function>
Function User32Function(const char* name) {
  static const HMODULE user32 = GetModuleHandleA("user32.dll");
  return common::win32::SystemFunction<Function>(user32, name);
}

struct DpiFunctions {
  GetDpiForWindowFn getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  AdjustWindowRectExForDpiFn adjustWindowRectExForDpi =
      User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  SystemParametersInfoForDpiFn systemParametersInfoForDpi =
      User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  GetSystemMetricsForDpiFn getSystemMetricsForDpi =
      User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  // Windows 8.1 and the first Windows 10 know a monitor's DPI, not yet a window's: shcore is
  // loaded only there.
  MonitorFromWindowFn monitorFromWindow =
      getDpiForWindow ? nullptr : User32Function<MonitorFromWindowFn>("MonitorFromWindow");
  GetDpiForMonitorFn getDpiForMonitor = monitorFromWindow
                                            ? common::win32::SystemFunction<GetDpiForMonitorFn>(
                                                  LoadLibraryA("shcore.dll"), "GetDpiForMonitor")
                                            : nullptr;
};

const DpiFunctions& Functions() {
  static const DpiFunctions functions;
  return functions;
}

}  // namespace

int SystemDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

int DpiOf(HWND window) {
  const DpiFunctions& functions = Functions();
  if (window && functions.getDpiForWindow) {
    const UINT dpi = functions.getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  if (window && functions.getDpiForMonitor) {
    UINT dpiX = 0, dpiY = 0;
    const HMONITOR monitor = functions.monitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor && SUCCEEDED(functions.getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)) &&
        dpiY > 0) {
      return static_cast<int>(dpiY);
    }
  }
  return SystemDpi();
}

int SystemMetricAt(int metric, int dpi) {
  if (Functions().getSystemMetricsForDpi) {
    return Functions().getSystemMetricsForDpi(metric, static_cast<UINT>(dpi));
  }
  return MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
}

SIZE OuterSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu,
                  int dpi) {
  RECT rect{0, 0, clientWidth, clientHeight};
  if (Functions().adjustWindowRectExForDpi) {
    Functions().adjustWindowRectExForDpi(&rect, style, hasMenu, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, hasMenu, exStyle);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

FontHandle CreateMessageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  bool scaled = false;
  if (Functions().systemParametersInfoForDpi) {
    scaled = Functions().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics),
                                                    &metrics, 0, static_cast<UINT>(dpi)) != FALSE;
  }
  if (!scaled) {
    if (!WideOrAnsi().MessageFont(metrics.lfMessageFont)) return FontHandle();
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
  }
  return FontHandle(WideOrAnsi().NewFont(metrics.lfMessageFont));
}

std::u16string FaceInUse(const std::u16string& requested) {
  static std::map<std::u16string, std::u16string> resolved;
  if (auto known = resolved.find(requested); known != resolved.end()) return known->second;
  const std::u16string face = FaceFor(requested, [](const std::u16string& candidate) {
    return WideOrAnsi().FaceExists(candidate);
  });
  resolved.emplace(requested, face);
  return face;
}

FontHandle CreateNamedFont(const FontSpec& spec, int dpi) {
  LOGFONTW font{};
  std::u16string face;
  if (spec.face.empty()) {
    // The system's user-interface font, in its own character set; the logical dialog face, which
    // every version maps to its own, where the system names none.
    if (LOGFONTW system{}; WideOrAnsi().MessageFont(system)) {
      face = reinterpret_cast<const char16_t*>(system.lfFaceName);
      font.lfCharSet = system.lfCharSet;
    } else {
      face = u"MS Shell Dlg";
      font.lfCharSet = DEFAULT_CHARSET;
    }
  } else {
    face = FaceInUse(std::u16string(spec.face));
    font.lfCharSet = static_cast<BYTE>(spec.charset);
  }
  font.lfHeight = -static_cast<LONG>(std::lround(spec.points * dpi / 72.0));
  font.lfWeight = spec.weight;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  face.copy(reinterpret_cast<char16_t*>(font.lfFaceName),
            std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  return FontHandle(WideOrAnsi().NewFont(font));
}

bool MakesCharset(const FontSpec& spec) {
  const FontHandle font = CreateNamedFont(spec, SystemDpi());
  WindowDc screen(nullptr);
  if (!font || !screen.Get()) return false;
  Selected selected(screen.Get(), font.get());
  TEXTMETRICA metrics{};
  return GetTextMetricsA(screen.Get(), &metrics) && metrics.tmCharSet == spec.charset;
}

int SystemFontCharset() {
  WindowDc screen(nullptr);
  if (!screen.Get()) return -1;
  Selected selected(screen.Get(), GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics{};
  return GetTextMetricsA(screen.Get(), &metrics) ? metrics.tmCharSet : -1;
}

}  // namespace tk::win32
