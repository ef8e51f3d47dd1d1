#include "store/memory/faulty_registry.h"

#include <stdexcept>
#include <string>

#include "store/memory/folded_name.h"

namespace store {
namespace {

std::string LastPart(std::string_view path) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  const auto slash = path.rfind('\\');
  return FoldedName(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

void FaultInjectingRegistry::RefuseOpen(std::string_view subKey) {
  refusedOpens_.insert(LastPart(subKey));
}

void FaultInjectingRegistry::RefuseWritesUnder(std::string_view subKey) {
  refusedKeyWrites_.insert(LastPart(subKey));
}

void FaultInjectingRegistry::RefuseWrite(std::string_view valueName) {
  refusedValueWrites_.insert(FoldedName(valueName));
}

Status FaultInjectingRegistry::OpenKey(Key parent, std::string_view subKey, Key& result) {
  const std::string name = LastPart(subKey);
  if (refusedOpens_.count(name)) {
    result = kNoKey;
    ++refusals_;
    return kAccessDenied;
  }
  const Status status = inner_.OpenKey(parent, subKey, result);
  if (status != kSuccess) return status;
  open_.insert(result);
  if (refusedKeyWrites_.count(name)) writeProtected_.insert(result);
  return status;
}

Status FaultInjectingRegistry::QueryDword(Key key, std::string_view name, std::uint32_t& data) {
  return inner_.QueryDword(key, name, data);
}

bool FaultInjectingRegistry::Refuses(Key key, std::string_view name) {
  if (key == kNoKey ||
      (!writeProtected_.count(key) && !refusedValueWrites_.count(FoldedName(name)))) {
    return false;
  }
  ++refusals_;
  if (throws_) throw std::runtime_error("write refused: " + std::string(name));
  return true;
}

Status FaultInjectingRegistry::SetDword(Key key, std::string_view name, std::uint32_t data) {
  return Refuses(key, name) ? kAccessDenied : inner_.SetDword(key, name, data);
}

Status FaultInjectingRegistry::QueryRaw(Key key, std::string_view name, RawValue& value) {
  return inner_.QueryRaw(key, name, value);
}

Status FaultInjectingRegistry::RestoreRaw(Key key, std::string_view name, const RawValue& value) {
  return Refuses(key, name) ? kAccessDenied : inner_.RestoreRaw(key, name, value);
}

Status FaultInjectingRegistry::Flush(Key key) { return inner_.Flush(key); }

Status FaultInjectingRegistry::Close(Key key) {
  const Status status = inner_.Close(key);
  if (status == kSuccess) {
    writeProtected_.erase(key);
    open_.erase(key);
  }
  return status;
}

}  // namespace store
