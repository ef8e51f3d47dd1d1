#include "store/memory/memory_registry.h"
#include "support/registry_fixture.h"

namespace tktest {
namespace {

class MemoryRegistryFixture final : public RegistryFixture {
 public:
  store::Registry& Registry() override { return registry_; }

  void CreateKey(std::string_view path) override { registry_.CreateKey(path); }
  void SetDword(std::string_view path, std::string_view name, std::uint32_t value) override {
    registry_.SetDword(path, name, value);
  }
  void SetString(std::string_view path, std::string_view name, std::string_view text) override {
    registry_.SetString(path, name, text);
  }
  void SetBinary(std::string_view path, std::string_view name,
                 const std::vector<std::uint8_t>& bytes) override {
    registry_.SetBinary(path, name, bytes);
  }
  void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                const std::vector<std::uint8_t>& bytes) override {
    registry_.SetValue(path, name, type, bytes);
  }
  void Delete(std::string_view path) override { registry_.Delete(path); }
  std::optional<std::uint32_t> ReadDword(std::string_view path, std::string_view name) override {
    return registry_.ReadDword(path, name);
  }
  std::uint32_t ValueType(std::string_view path, std::string_view name) override {
    return registry_.ValueType(path, name);
  }
  std::optional<std::vector<std::uint8_t>> ReadBytes(std::string_view path,
                                                     std::string_view name) override {
    return registry_.ReadBytes(path, name);
  }
  bool KeyExists(std::string_view path) override { return registry_.KeyExists(path); }

 private:
  store::MemoryRegistry registry_;
};

}  // namespace

std::unique_ptr<RegistryFixture> MakeRegistryFixture() {
  return std::make_unique<MemoryRegistryFixture>();
}

}  // namespace tktest
