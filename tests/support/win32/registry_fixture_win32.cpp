// Test set-up writes HKEY_CURRENT_USER of the Wine prefix directly with the W functions, and may
// create keys; only the registry under test is held to the program's own calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "store/win32/advapi32_registry.h"
#include "support/registry_fixture.h"

namespace tktest {
namespace {

constexpr wchar_t kTestRoot[] = L"Software\\Mirabilis";

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// An RAII key for the set-up side.
class SetupKey {
 public:
  SetupKey(std::string_view path, bool create) {
    const std::wstring wide = Wide(path);
    const LONG status = create ? RegCreateKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key_, nullptr)
                               : RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, KEY_READ, &key_);
    if (status != ERROR_SUCCESS) {
      key_ = nullptr;
      if (create) ADD_FAILURE() << "cannot create HKCU\\" << path << ": error " << status;
    }
  }
  ~SetupKey() {
    if (key_) RegCloseKey(key_);
  }
  SetupKey(const SetupKey&) = delete;
  SetupKey& operator=(const SetupKey&) = delete;

  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class Win32RegistryFixture final : public RegistryFixture {
 public:
  Win32RegistryFixture() { RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }
  ~Win32RegistryFixture() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }

  store::Registry& Registry() override { return registry_; }

  void CreateKey(std::string_view path) override { SetupKey key(path, true); }

  void SetDword(std::string_view path, std::string_view name, std::uint32_t value) override {
    const DWORD data = value;
    Set(path, name, REG_DWORD, &data, sizeof data);
  }

  void SetString(std::string_view path, std::string_view name, std::string_view text) override {
    const std::wstring wide = Wide(text);
    Set(path, name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  }

  void SetBinary(std::string_view path, std::string_view name,
                 const std::vector<std::uint8_t>& bytes) override {
    Set(path, name, REG_BINARY, bytes.data(), bytes.size());
  }

  void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                const std::vector<std::uint8_t>& bytes) override {
    Set(path, name, type, bytes.data(), bytes.size());
  }

  void Delete(std::string_view path) override {
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(path).c_str());
  }

  std::optional<std::uint32_t> ReadDword(std::string_view path, std::string_view name) override {
    SetupKey key(path, false);
    if (!key.get()) return std::nullopt;
    DWORD type = REG_NONE, data = 0, size = sizeof data;
    const LONG status = RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&data), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) return std::nullopt;
    return data;
  }

  std::uint32_t ValueType(std::string_view path, std::string_view name) override {
    SetupKey key(path, false);
    if (!key.get()) return kRegNone;
    DWORD type = REG_NONE;
    const LONG status =
        RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, &type, nullptr, nullptr);
    return status == ERROR_SUCCESS ? type : kRegNone;
  }

  std::optional<std::vector<std::uint8_t>> ReadBytes(std::string_view path,
                                                     std::string_view name) override {
    SetupKey key(path, false);
    DWORD size = 0;
    if (!key.get() || RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, nullptr, nullptr,
                                       &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(size);
    if (RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, nullptr, bytes.data(), &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
  }

  bool KeyExists(std::string_view path) override { return SetupKey(path, false).get() != nullptr; }

 private:
  void Set(std::string_view path, std::string_view name, DWORD type, const void* data,
           std::size_t size) {
    SetupKey key(path, true);
    if (!key.get()) return;
    const LONG status = RegSetValueExW(key.get(), Wide(name).c_str(), 0, type,
                                       static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    if (status != ERROR_SUCCESS) ADD_FAILURE() << "cannot set " << name << ": error " << status;
  }

  store::Advapi32Registry registry_;
};

}  // namespace

std::unique_ptr<RegistryFixture> MakeRegistryFixture() {
  return std::make_unique<Win32RegistryFixture>();
}

}  // namespace tktest
