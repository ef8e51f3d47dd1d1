#include "store/color_values.h"

#include "store/names.h"

namespace store {

ColorValue GetColorValue(Registry& registry, Key key, int index) {
  if (index != 0 && index != 1) return {0, kInvalidParameter};
  std::uint32_t data = 0;
  const Status status = registry.QueryDword(key, names::kColorValues[index], data);
  return {static_cast<std::int32_t>(data), status};
}

Status PutColorValue(Registry& registry, Key key, int index, std::int32_t value) {
  if (index != 0 && index != 1) return kInvalidParameter;
  return registry.SetDword(key, names::kColorValues[index], static_cast<std::uint32_t>(value));
}

OwnerColorKeys::OwnerColorKeys(Registry& registry, Key owner) : registry_(&registry) {
  keys_[0] = owner;
  windowsStatus_ = registry.OpenKey(keys_[0], names::kWindows, keys_[1]);
  // Attempted even below a Windows key that did not open: that open fails without side effects.
  sendMsgStatus_ = registry.OpenKey(keys_[1], names::kSendMsg, keys_[2]);
}

void OwnerColorKeys::Close() {
  if (!registry_) return;
  for (int slot = 2; slot >= 0; --slot) {
    registry_->Close(keys_[slot]);
    keys_[slot] = kNoKey;
  }
  registry_ = nullptr;
}

}  // namespace store
