#include "store/win32/advapi32_registry.h"

#include <windows.h>

#include <string>

#include "common/win32/system_function.h"
#include "common/win32/windows_version.h"

namespace store {
namespace {

// HKEY_CURRENT_USER is sign-extended on 64-bit Windows, so it cannot simply be cast.
HKEY ToHkey(Key key) {
  return key == kCurrentUser ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

Key FromHkey(HKEY key) {
  return key == HKEY_CURRENT_USER ? kCurrentUser : reinterpret_cast<Key>(key);
}

// A value saved to be put back is read and written as it is stored. The A calls would pass a
// string value through the ANSI code page, and a character outside it would come back as "?":
// on NT the W calls take it whole. Windows 95, 98 and ME keep strings in the code page and
// implement no W registry call, so the W ones are looked up, not imported.
using QueryValueW = LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using SetValueW = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);

HMODULE WideRegistry() {
  static const HMODULE advapi32 =
      common::win32::IsWindows9x() ? nullptr : GetModuleHandleA("advapi32.dll");
  return advapi32;
}

LONG QueryBytes(HKEY key, const std::string& name, DWORD& type, BYTE* data, DWORD& size) {
  static const auto query =
      common::win32::SystemFunction<QueryValueW>(WideRegistry(), "RegQueryValueExW");
  if (!query) return RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size);
  const std::wstring wideName(name.begin(), name.end());
  return query(key, wideName.c_str(), nullptr, &type, data, &size);
}

LONG SetBytes(HKEY key, const std::string& name, DWORD type, const BYTE* data, DWORD size) {
  static const auto set = common::win32::SystemFunction<SetValueW>(WideRegistry(), "RegSetValueExW");
  if (!set) return RegSetValueExA(key, name.c_str(), 0, type, data, size);
  const std::wstring wideName(name.begin(), name.end());
  return set(key, wideName.c_str(), 0, type, data, size);
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
  // After ERROR_MORE_DATA the buffer's contents are undefined: a value longer than four bytes
  // reads as 0. A shorter one leaves the buffer's other bytes at their 0.
  if (status == ERROR_MORE_DATA) {
    data = 0;
  } else if (status == ERROR_SUCCESS) {
    data = size <= sizeof buffer ? buffer : 0;
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

Status Advapi32Registry::QueryRaw(Key key, std::string_view name, RawValue& value) {
  value = RawValue{};
  if (key == kNoKey) return kInvalidHandle;
  const std::string valueName(name);
  LONG status = ERROR_MORE_DATA;
  // The value may grow between the call that sizes it and the call that reads it.
  while (status == ERROR_MORE_DATA) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    status = QueryBytes(ToHkey(key), valueName, type, nullptr, size);
    if (status != ERROR_SUCCESS) break;
    value.bytes.resize(size);
    status = QueryBytes(ToHkey(key), valueName, type, value.bytes.data(), size);
    if (status == ERROR_SUCCESS) {
      value.bytes.resize(size);
      value.type = type;
      value.present = true;
    }
  }
  if (status != ERROR_SUCCESS) value = RawValue{};
  return status;
}

Status Advapi32Registry::RestoreRaw(Key key, std::string_view name, const RawValue& value) {
  if (key == kNoKey) return kInvalidHandle;
  const std::string valueName(name);
  if (!value.present) {
    const LONG status = RegDeleteValueA(ToHkey(key), valueName.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
  }
  return SetBytes(ToHkey(key), valueName, value.type, value.bytes.data(),
                  static_cast<DWORD>(value.bytes.size()));
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
