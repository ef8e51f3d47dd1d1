#pragma once
// The registry of the running Windows session through advapi32's ANSI functions. Keys are opened
// with options 0 and kAccess only; nothing here can create a key.

#include "store/registry.h"

namespace store {

class Advapi32Registry final : public Registry {
 public:
  Status OpenKey(Key parent, std::string_view subKey, Key& result) override;
  Status QueryDword(Key key, std::string_view name, std::uint32_t& data) override;
  Status SetDword(Key key, std::string_view name, std::uint32_t data) override;
  Status QueryRaw(Key key, std::string_view name, RawValue& value) override;
  Status RestoreRaw(Key key, std::string_view name, const RawValue& value) override;
  Status Flush(Key key) override;
  Status Close(Key key) override;
};

}  // namespace store
