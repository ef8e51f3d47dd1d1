#pragma once
// The key chain HKEY_CURRENT_USER > Software > Mirabilis > ICQ > Owners (`lngKey`), opened once at
// start-up and kept open for the whole run.

#include <array>

#include "store/registry.h"

namespace store {

class KeyChain {
 public:
  static constexpr int kSize = 5;  // index 0 is HKEY_CURRENT_USER, 4 is Owners

  KeyChain() = default;
  ~KeyChain() { Close(); }
  KeyChain(const KeyChain&) = delete;
  KeyChain& operator=(const KeyChain&) = delete;

  // Opens keys 1 to 4 in order; the first failure ends the chain, leaving the later handles
  // kNoKey. Returns the status of the last open attempted.
  Status Open(Registry& registry);
  // Closes Owners, ICQ, Mirabilis, Software in that order; later calls do nothing.
  void Close();

  Key At(int index) const;  // kNoKey outside 0..4
  Key Owners() const { return keys_[4]; }

 private:
  Registry* registry_ = nullptr;  // set while the chain is open
  std::array<Key, kSize> keys_ = {kCurrentUser, kNoKey, kNoKey, kNoKey, kNoKey};
};

}  // namespace store
