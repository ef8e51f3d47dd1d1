#pragma once
// The native windows behind the toolkit's forms and controls, as a test finds them: among the
// thread's windows, through each form window's own tables.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/win32/windows_api.h"

namespace tktest {

// Null when the form or control has no window. `form` is compared by address only: it may be
// gone already.
HWND WindowOf(const tk::Form* form);
inline HWND WindowOf(const tk::Form& form) { return WindowOf(&form); }
HWND WindowOf(const tk::Control& control);
// The control or form of this program that `window` is, or null.
tk::Control* ControlOf(HWND window);
tk::Form* FormOf(HWND window);
// The form window holding `item` and the command of the item its menu bar shows with the item's
// caption; null when no loaded form holds it.
HWND MenuCommandOf(const tk::MenuItem& item, UINT* command);
// Whether `item` opens a sub-menu rather than running at once.
bool HasSubMenu(const tk::MenuItem& item, const tk::Form& form);

// The program's menu calls (menu bar, sub-menus, items, shortcuts) go through the test
// executable's import slots (older_windows_switch.cpp): each fails, as where Windows has no USER
// memory left, when refuseMenuCall is set and answers true. The menus made are kept, and a
// DestroyMenu of a handle that is no menu any more is counted.
extern std::function<bool()> refuseMenuCall;
extern std::vector<HMENU> menusMade;
extern int menusDestroyedAgain;
// The GDI objects, memory DCs and icons made through those slots and not freed yet.
std::size_t LiveObjects();
// GetDC of no window, the screen's device context, fails while refuseScreenDc is set, as where
// Windows has no GDI memory left.
extern bool refuseScreenDc;
// The program's own images fail to load while refuseProgramIcon is set.
extern bool refuseProgramIcon;
// SystemParametersInfo has no non-client metrics, and so no message font, while refuseMessageFont
// is set.
extern bool refuseMessageFont;
// CreateStdAccessibleObject fails while refuseAccessibleObject is set, as where Windows has no
// memory left.
extern bool refuseAccessibleObject;
// WriteFile writes that many bytes more, then fails with ERROR_DISK_FULL and unsets it.
extern std::optional<std::size_t> writableBytes;
// The next ReadFile first adds the bytes to the end of the file and unsets it, as another program
// writing to the file just then would.
extern std::optional<std::pair<std::u16string, std::string>> appendOnRead;
// CreateFile, asked for a new file while takeNewNames is set, finds that another program has just
// made one under that name; the names (without their folder) are kept.
extern bool takeNewNames;
extern std::vector<std::u16string> takenNames;
// A new file made while scanNewFiles is set is opened again as soon as it is closed, as a virus
// scanner would, sharing reading and writing only; those handles are kept, open.
extern bool scanNewFiles;
extern std::vector<HANDLE> scannedFiles;

}  // namespace tktest
