#pragma once
// The five registry calls the program makes, as an interface: advapi32 on Windows, in memory for
// native tests. Names are ASCII; the only value type the program writes is a 4-byte DWORD, and the
// only other values it writes are those it read whole to put them back.

#include <cstdint>
#include <string_view>
#include <vector>

namespace store {

using Key = std::uintptr_t;  // 0: no key
using Status = long;         // 0: success, otherwise a Windows error code

constexpr Key kNoKey = 0;
constexpr Key kCurrentUser = 0x80000001;    // HKEY_CURRENT_USER; never opened or closed
constexpr std::uint32_t kAccess = 0x2003F;  // READ_CONTROL with the six key rights

constexpr Status kSuccess = 0;
constexpr Status kFileNotFound = 2;
constexpr Status kAccessDenied = 5;
constexpr Status kInvalidHandle = 6;
constexpr Status kMoreData = 234;

// A value as it was stored, of any type and length, or the fact that there was none.
struct RawValue {
  bool present = false;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> bytes;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing subkey with options 0 and kAccess; never creates one. On failure `result`
  // is set to kNoKey.
  virtual Status OpenKey(Key parent, std::string_view subKey, Key& result) = 0;
  // Reads up to four bytes of a value as they stand into `data`, whatever its type: a shorter
  // value fills its low bytes and leaves the others 0 (a 1-byte 05 reads as 5), a longer one
  // sets it to 0; a missing value or a failed call leaves it as the caller preset it.
  virtual Status QueryDword(Key key, std::string_view name, std::uint32_t& data) = 0;
  virtual Status SetDword(Key key, std::string_view name, std::uint32_t data) = 0;  // REG_DWORD
  // Reads a value whole. A missing one gives kFileNotFound with `value.present` false.
  virtual Status QueryRaw(Key key, std::string_view name, RawValue& value) = 0;
  // Puts back a value as QueryRaw read it: rewritten with its type and bytes, or deleted when it
  // was missing (deleting a missing value succeeds).
  virtual Status RestoreRaw(Key key, std::string_view name, const RawValue& value) = 0;
  virtual Status Flush(Key key) = 0;
  virtual Status Close(Key key) = 0;  // closing kNoKey or kCurrentUser is harmless
};

}  // namespace store
