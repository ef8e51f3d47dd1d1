// Whatever is left in the registry: "LastOwner" and the two colour values, of any type and
// length, read as an ID of digits with at most a leading minus and as colour values of up to
// four bytes as they stand or 0; a value read whole is put back byte for byte; every key opened is
// closed.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/color_values.h"
#include "store/key_chain.h"
#include "store/memory/memory_registry.h"
#include "store/owner_id.h"

namespace {
constexpr char kOwners[] = "Software\\Mirabilis\\ICQ\\Owners";
constexpr char kSendMsg[] = "Software\\Mirabilis\\ICQ\\Owners\\1\\Windows\\SendMsg";
constexpr const char* kNames[] = {"LastOwner", "Pen Color", "Back Color"};

// Up to four bytes, the first the lowest; a longer value reads as 0.
std::uint32_t Dword(const std::vector<std::uint8_t>& b) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < b.size() && b.size() <= 4; ++i) value |= b[i] * (1u << (8 * i));
  return value;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  store::MemoryRegistry registry;
  registry.CreateKey(kSendMsg);
  std::vector<std::uint8_t> values[3];
  std::size_t at = 6;
  for (int i = 0; i < 3; ++i) {
    const std::size_t length = std::min<std::size_t>(data[2 * i + 1], size - at);
    values[i].assign(data + at, data + at + length);
    at += length;
    registry.SetValue(i == 0 ? kOwners : kSendMsg, kNames[i], data[2 * i] % 12, values[i]);
  }

  store::KeyChain chain;
  const store::Status chainStatus = chain.Open(registry);
  const std::string id = store::ReadLastOwner(registry, chain.Owners(), chainStatus);
  const auto last = static_cast<std::int32_t>(Dword(values[0]));
  if (id != store::FormatLastOwner(last) || id.size() > 11) std::abort();
  for (std::size_t i = 0; i < id.size(); ++i) {
    if (!(id[i] >= '0' && id[i] <= '9') && !(i == 0 && id[i] == '-')) std::abort();
  }

  store::Key owner = store::kNoKey;
  if (registry.OpenKey(chain.Owners(), "1", owner) != store::kSuccess) std::abort();
  store::OwnerColorKeys keys(registry, owner);
  for (int index = 0; index < 2; ++index) {
    const std::vector<std::uint8_t>& stored = values[index + 1];
    const auto read =
        static_cast<std::uint32_t>(store::GetColorValue(registry, keys.SendMsg(), index).value);
    if (read != Dword(stored)) std::abort();
    store::RawValue raw;
    registry.QueryRaw(keys.SendMsg(), kNames[index + 1], raw);
    store::PutColorValue(registry, keys.SendMsg(), index, 7);
    registry.RestoreRaw(keys.SendMsg(), kNames[index + 1], raw);
    if (registry.ReadBytes(kSendMsg, kNames[index + 1]) != stored ||
        registry.ValueType(kSendMsg, kNames[index + 1]) != data[2 * index + 2] % 12u) {
      std::abort();
    }
  }
  keys.Close();
  chain.Close();
  if (registry.OpenHandleCount() != 0) std::abort();
  return 0;
}
