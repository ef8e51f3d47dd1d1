#pragma once
// The owner's two colour values, "Pen Color" and "Back Color" of Owners\<ID>\Windows\SendMsg.

#include <array>
#include <cstdint>

#include "store/registry.h"

namespace store {

constexpr Status kInvalidParameter = 87;  // a value index other than 0 or 1

struct ColorValue {
  std::int32_t value = 0;  // 0 when the value is missing or could not be read
  Status status = kSuccess;
};

// Index 0 is "Pen Color", 1 is "Back Color"; any other index is refused with kInvalidParameter
// before the registry is touched.
ColorValue GetColorValue(Registry& registry, Key key, int index);
Status PutColorValue(Registry& registry, Key key, int index, std::int32_t value);

// The three keys of one load or apply (slot 0 the owner key, 1 Windows, 2 SendMsg), closed in the
// order 2, 1, 0 when the object goes away or Close() is called.
class OwnerColorKeys {
 public:
  // Takes over the open owner key and opens Windows, then SendMsg below it. Neither key is ever
  // created; one that fails to open stays kNoKey.
  OwnerColorKeys(Registry& registry, Key owner);
  ~OwnerColorKeys() { Close(); }
  OwnerColorKeys(const OwnerColorKeys&) = delete;
  OwnerColorKeys& operator=(const OwnerColorKeys&) = delete;

  Key Owner() const { return keys_[0]; }
  Key Windows() const { return keys_[1]; }
  Key SendMsg() const { return keys_[2]; }  // where the colour values live
  Status WindowsStatus() const { return windowsStatus_; }
  Status SendMsgStatus() const { return sendMsgStatus_; }
  bool Complete() const { return windowsStatus_ == kSuccess && sendMsgStatus_ == kSuccess; }

  void Close();  // later calls do nothing

 private:
  Registry* registry_;  // null once closed
  std::array<Key, 3> keys_ = {kNoKey, kNoKey, kNoKey};
  Status windowsStatus_ = kSuccess;
  Status sendMsgStatus_ = kSuccess;
};

}  // namespace store
