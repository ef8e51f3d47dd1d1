#pragma once
// comdlg32 and shell32 bring much else with them when they load (see the start-up measurements):
// the functions the program needs of them are found on first use and stay for its life. Each
// road names its own forms of them.

#include <string>

#include "common/win32/system_function.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

template <class OpenFileName>
struct FileDialogFunctions {
  using Dialog = BOOL(WINAPI*)(OpenFileName*);
  using LastError = DWORD(WINAPI*)();
  HMODULE comdlg32 = LoadLibraryA("comdlg32.dll");
  Dialog open, save;
  LastError error = common::win32::SystemFunction<LastError>(comdlg32, "CommDlgExtendedError");

  FileDialogFunctions(const char* openName, const char* saveName)
      : open(common::win32::SystemFunction<Dialog>(comdlg32, openName)),
        save(common::win32::SystemFunction<Dialog>(comdlg32, saveName)) {}
  bool Loaded() const { return open && save && error; }
};

template <class Char>
struct DropFunctions {
  using Query = UINT(WINAPI*)(HDROP, UINT, Char*, UINT);
  using Finish = void(WINAPI*)(HDROP);
  HMODULE shell32 = LoadLibraryA("shell32.dll");
  Query query;
  Finish finish = common::win32::SystemFunction<Finish>(shell32, "DragFinish");

  explicit DropFunctions(const char* queryName)
      : query(common::win32::SystemFunction<Query>(shell32, queryName)) {}

  // The first file of the drop, which is then finished.
  std::basic_string<Char> TakeFirst(HDROP drop) const {
    if (!query || !finish) return {};
    std::basic_string<Char> path(query(drop, 0, nullptr, 0), Char{});
    if (!path.empty()) {
      path.resize(query(drop, 0, path.data(), static_cast<UINT>(path.size() + 1)));
    }
    finish(drop);
    return path;
  }
};

}  // namespace tk::win32
