#pragma once
// Wraps any registry and refuses chosen opens and writes with kAccessDenied (or an exception),
// without passing them on, and counts the keys opened through it that are still open. Lets the
// tests that run on the real registry under Wine see a refused open or write, which cannot be
// provoked there otherwise (Wine running as root refuses nothing).

#include <set>
#include <string>
#include <string_view>

#include "store/registry.h"

namespace store {

class FaultInjectingRegistry final : public Registry {
 public:
  explicit FaultInjectingRegistry(Registry& inner) : inner_(inner) {}

  // Names compare case-insensitively; a subkey name given as a path matches by its last part.
  void RefuseOpen(std::string_view subKey);         // every open of a key of that name
  void RefuseWritesUnder(std::string_view subKey);  // every write under a key opened by that name
  void RefuseWrite(std::string_view valueName);     // every write of a value of that name
  // From now on a refusal throws instead, as a failure nobody foresaw would.
  void ThrowOnRefusal() { throws_ = true; }
  int Refusals() const { return refusals_; }
  std::size_t OpenHandleCount() const { return open_.size(); }

  Status OpenKey(Key parent, std::string_view subKey, Key& result) override;
  Status QueryDword(Key key, std::string_view name, std::uint32_t& data) override;
  Status SetDword(Key key, std::string_view name, std::uint32_t data) override;
  Status QueryRaw(Key key, std::string_view name, RawValue& value) override;
  Status RestoreRaw(Key key, std::string_view name, const RawValue& value) override;
  Status Flush(Key key) override;
  Status Close(Key key) override;

 private:
  Registry& inner_;
  std::set<std::string> refusedOpens_;
  std::set<std::string> refusedKeyWrites_;
  std::set<std::string> refusedValueWrites_;
  bool Refuses(Key key, std::string_view name);  // counts the refusal

  std::set<Key> open_;
  std::set<Key> writeProtected_;  // open handles of keys in refusedKeyWrites_
  int refusals_ = 0;
  bool throws_ = false;
};

}  // namespace store
