#include "toolkit/win32/system_metrics.h"

#include <cmath>
#include <cstddef>
#include <map>

#include "common/win32/system_function.h"

namespace tk::win32 {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

template <class Function>
Function User32Function(const char* name) {
  static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
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
};

const DpiFunctions& Functions() {
  static const DpiFunctions functions;
  return functions;
}

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceExists(const std::u16string& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(reinterpret_cast<char16_t*>(query.lfFaceName), face.size());
  bool found = false;
  WindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.Get(), &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

bool IsJapaneseProportionalFace(const std::u16string& face) {
  return face == u"ＭＳ Ｐゴシック" || face == u"MS PGothic";
}

}  // namespace

std::u16string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return FromWide(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

int SystemDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

int DpiOf(HWND window) {
  if (window && Functions().getDpiForWindow) {
    const UINT dpi = Functions().getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
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
    // The size Windows 2000 and XP know: they refuse one counting Vista's iPaddedBorderWidth.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
      return FontHandle();
    }
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
  }
  return FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
}

std::u16string FaceInUse(const std::u16string& requested) {
  static std::map<std::u16string, std::u16string> resolved;
  if (auto known = resolved.find(requested); known != resolved.end()) return known->second;
  std::u16string face = requested;
  if (!FaceExists(requested) && IsJapaneseProportionalFace(requested)) {
    for (const char16_t* candidate :
         {u"ＭＳ Ｐゴシック", u"MS PGothic", u"Meiryo UI", u"Yu Gothic UI", u"IPAPGothic"}) {
      if (FaceExists(candidate)) {
        face = candidate;
        break;
      }
    }
  }
  resolved.emplace(requested, face);
  return face;
}

FontHandle CreateNamedFont(const FontSpec& spec, int dpi) {
  const int height = -static_cast<int>(std::lround(spec.points * dpi / 72.0));
  const std::u16string face = FaceInUse(std::u16string(spec.face));
  return FontHandle(CreateFontW(height, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE,
                                static_cast<DWORD>(spec.charset), OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                WidePtr(face)));
}

}  // namespace tk::win32
