#include "store/win32/advapi32_registry.h"

#include <windows.h>

#include <string>

namespace store {
namespace {

// HKEY_CURRENT_USER is sign-extended on 64-bit Windows, so it cannot simply be cast.
HKEY ToHkey(Key key) {
  return key == kCurrentUser ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

Key FromHkey(HKEY key) {
  return key == HKEY_CURRENT_USER ? kCurrentUser : reinterpret_cast<Key>(key);
}

}  // namespace

Status Advapi32Registry::OpenKey(Key parent, std::string_view subKey, Key& result) {
  result = kNoKey;
  if (parent == kNoKey) return kInvalidHandle;
  HKEY opened = nullptr;
  const std::string name(subKey);
  const LONG status = RegOpenKeyExA(ToHkey(parent), name.c_str(), 0, kAccess, &opened);
  if (status == ERROR_SUCCESS) result = FromHkey(opened);
  return status;
}

Status Advapi32Registry::QueryDword(Key key, std::string_view name, std::uint32_t& data) {
  if (key == kNoKey) return kInvalidHandle;
  const std::string valueName(name);
  DWORD type = REG_DWORD;
  DWORD buffer = 0;
  DWORD size = sizeof buffer;
  const LONG status = RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(&buffer), &size);
  // After ERROR_MORE_DATA the buffer's contents are undefined: such a value reads as 0, like any
  // value that is not exactly four bytes long.
  if (status == ERROR_MORE_DATA) {
    data = 0;
  } else if (status == ERROR_SUCCESS) {
    data = size == sizeof buffer ? buffer : 0;
  }
  return status;
}

Status Advapi32Registry::SetDword(Key key, std::string_view name, std::uint32_t data) {
  if (key == kNoKey) return kInvalidHandle;
  const std::string valueName(name);
  const DWORD value = data;
  return RegSetValueExA(ToHkey(key), valueName.c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&value), sizeof value);
}

Status Advapi32Registry::Flush(Key key) {
  if (key == kNoKey) return kInvalidHandle;
  return RegFlushKey(ToHkey(key));
}

Status Advapi32Registry::Close(Key key) {
  if (key == kNoKey) return kInvalidHandle;
  if (key == kCurrentUser) return kSuccess;
  return RegCloseKey(ToHkey(key));
}

}  // namespace store
