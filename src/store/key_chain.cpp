#include "store/key_chain.h"

#include "store/names.h"

namespace store {

Status KeyChain::Open(Registry& registry) {
  Close();
  registry_ = &registry;
  Status status = kSuccess;
  for (int i = 1; i < kSize; ++i) {
    status = registry.OpenKey(keys_[i - 1], names::kChain[i - 1], keys_[i]);
    if (status != kSuccess) break;
  }
  return status;
}

void KeyChain::Close() {
  if (!registry_) return;
  // Every slot is closed, opened or not, as the program always did; closing kNoKey is harmless.
  for (int i = kSize - 1; i >= 1; --i) {
    registry_->Close(keys_[i]);
    keys_[i] = kNoKey;
  }
  registry_ = nullptr;
}

Key KeyChain::At(int index) const { return index >= 0 && index < kSize ? keys_[index] : kNoKey; }

}  // namespace store
