#pragma once
// The registry of one test, the same way on both builds: natively an in-memory registry, under Wine
// the real HKEY_CURRENT_USER of the test's prefix through advapi32. Set-up and inspection go
// around the registry under test. Paths are relative to HKEY_CURRENT_USER and must lie below
// Software\Mirabilis, which the Win32 fixture wipes when it starts and when it ends.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "store/registry.h"

namespace tktest {

// Value types, numbered as in Windows.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegQword = 11;

class RegistryFixture {
 public:
  virtual ~RegistryFixture() = default;

  // The implementation under test.
  virtual store::Registry& Registry() = 0;

  // Setting a value creates its key and any missing parents.
  virtual void CreateKey(std::string_view path) = 0;
  virtual void SetDword(std::string_view path, std::string_view name, std::uint32_t value) = 0;
  virtual void SetString(std::string_view path, std::string_view name, std::string_view text) = 0;
  virtual void SetBinary(std::string_view path, std::string_view name,
                         const std::vector<std::uint8_t>& bytes) = 0;
  virtual void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                        const std::vector<std::uint8_t>& bytes) = 0;
  virtual void Delete(std::string_view path) = 0;  // the key and everything below it

  // A REG_DWORD value of 4 bytes; nothing for a missing value or one of another type.
  virtual std::optional<std::uint32_t> ReadDword(std::string_view path, std::string_view name) = 0;
  virtual std::uint32_t ValueType(std::string_view path, std::string_view name) = 0;
  virtual std::optional<std::vector<std::uint8_t>> ReadBytes(std::string_view path,
                                                             std::string_view name) = 0;
  virtual bool KeyExists(std::string_view path) = 0;
};

// A clean registry (no Software\Mirabilis) for this build.
std::unique_ptr<RegistryFixture> MakeRegistryFixture();

}  // namespace tktest
