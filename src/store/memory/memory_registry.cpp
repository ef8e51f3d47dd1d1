#include "store/memory/memory_registry.h"

#include <algorithm>
#include <utility>

#include "store/memory/folded_name.h"

namespace store {
namespace {

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const auto slash = path.find('\\');
    parts.push_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return parts;
}

// Takes the first part ("a" of "a\\b") off a path; SplitPath's parts one at a time.
std::string_view TakePart(std::string_view& path) {
  const auto slash = path.find('\\');
  const std::string_view part = path.substr(0, slash);
  path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
  return part;
}

char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Orders names as folded, so that a name is found as written, without folding it into a copy
// first (the tests look keys up after every step).
struct FoldedLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Folded(x) < Folded(y); });
  }
};

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace

struct MemoryRegistry::Node {
  struct Value {
    std::uint32_t type = kTypeNone;
    std::vector<std::uint8_t> bytes;
  };

  std::string path;  // folded, from HKEY_CURRENT_USER; identifies the key for injected faults
  std::map<std::string, std::shared_ptr<Node>, FoldedLess> children;  // by folded name
  std::map<std::string, Value, FoldedLess> values;                    // by folded name
  bool deleted = false;

  const Value* FindValue(std::string_view name) const {
    const auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
  }

  void MarkDeleted() {
    deleted = true;
    for (auto& [name, child] : children) child->MarkDeleted();
  }
};

MemoryRegistry::MemoryRegistry() : root_(std::make_shared<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

Status MemoryRegistry::Record(CallKind kind, Key key, std::string_view name, Status status) {
  switch (kind) {
    case CallKind::kOpen:
      ++counts_.opens;
      break;
    case CallKind::kQuery:
      ++counts_.queries;
      break;
    case CallKind::kSet:
      ++counts_.writes;
      break;
    case CallKind::kFlush:
      ++counts_.flushes;
      break;
    case CallKind::kClose:
      ++counts_.closes;
      break;
  }
  log_.push_back(Call{kind, key, std::string(name), status});
  return status;
}

void MemoryRegistry::ClearCalls() {
  counts_ = {};
  log_.clear();
}

MemoryRegistry::Node* MemoryRegistry::Resolve(Key key, Status& status) const {
  status = kSuccess;
  if (key == kCurrentUser) return root_.get();
  const auto it = handles_.find(key);
  if (it == handles_.end()) {
    status = kInvalidHandle;
    return nullptr;
  }
  if (it->second->deleted) {
    status = kKeyDeleted;
    return nullptr;
  }
  return it->second.get();
}

MemoryRegistry::Node* MemoryRegistry::Find(std::string_view path) const {
  Node* node = root_.get();
  while (!path.empty()) {
    const auto it = node->children.find(TakePart(path));
    if (it == node->children.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

MemoryRegistry::Node& MemoryRegistry::MakePath(std::string_view path) {
  Node* node = root_.get();
  for (std::string_view part : SplitPath(path)) {
    auto& child = node->children[FoldedName(part)];
    if (!child) {
      child = std::make_shared<Node>();
      child->path = node->path.empty() ? FoldedName(part) : node->path + '\\' + FoldedName(part);
    }
    node = child.get();
  }
  return *node;
}

Status MemoryRegistry::OpenKey(Key parent, std::string_view subKey, Key& result) {
  result = kNoKey;
  Status status;
  Node* node = Resolve(parent, status);
  if (!node) return Record(CallKind::kOpen, parent, subKey, status);
  std::shared_ptr<Node> target;
  if (subKey.empty()) {
    target = parent == kCurrentUser ? root_ : handles_.at(parent);
  } else {
    for (std::string_view rest = subKey; !rest.empty();) {
      const auto it = node->children.find(TakePart(rest));
      if (it == node->children.end()) return Record(CallKind::kOpen, parent, subKey, kFileNotFound);
      target = it->second;
      node = target.get();
    }
  }
  if (refusedOpens_.count(target->path)) {
    return Record(CallKind::kOpen, parent, subKey, kAccessDenied);
  }
  result = nextHandle_;
  nextHandle_ += 8;  // never reused, so a second close of the same handle is caught
  handles_.emplace(result, std::move(target));
  return Record(CallKind::kOpen, parent, subKey, kSuccess);
}

Status MemoryRegistry::QueryDword(Key key, std::string_view name, std::uint32_t& data) {
  Status status;
  const Node* node = Resolve(key, status);
  if (!node) return Record(CallKind::kQuery, key, name, status);
  const Node::Value* value = node->FindValue(name);
  if (!value) return Record(CallKind::kQuery, key, name, kFileNotFound);
  const auto& bytes = value->bytes;
  if (bytes.size() > 4) {
    data = 0;
    return Record(CallKind::kQuery, key, name, kMoreData);
  }
  // Into a buffer preset to 0, as advapi32 reads a shorter value.
  data = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) data |= std::uint32_t{bytes[i]} << (8 * i);
  return Record(CallKind::kQuery, key, name, kSuccess);
}

Status MemoryRegistry::SetDword(Key key, std::string_view name, std::uint32_t data) {
  Status status;
  Node* node = Resolve(key, status);
  if (!node) return Record(CallKind::kSet, key, name, status);
  if (refusedWrites_.count(node->path)) return Record(CallKind::kSet, key, name, kAccessDenied);
  node->values[FoldedName(name)] = Node::Value{kTypeDword, DwordBytes(data)};
  return Record(CallKind::kSet, key, name, kSuccess);
}

Status MemoryRegistry::QueryRaw(Key key, std::string_view name, RawValue& value) {
  value = RawValue{};
  Status status;
  const Node* node = Resolve(key, status);
  if (!node) return Record(CallKind::kQuery, key, name, status);
  const Node::Value* stored = node->FindValue(name);
  if (!stored) return Record(CallKind::kQuery, key, name, kFileNotFound);
  value = RawValue{true, stored->type, stored->bytes};
  return Record(CallKind::kQuery, key, name, kSuccess);
}

Status MemoryRegistry::RestoreRaw(Key key, std::string_view name, const RawValue& value) {
  Status status;
  Node* node = Resolve(key, status);
  if (!node) return Record(CallKind::kSet, key, name, status);
  if (refusedWrites_.count(node->path)) return Record(CallKind::kSet, key, name, kAccessDenied);
  if (value.present) {
    node->values[FoldedName(name)] = Node::Value{value.type, value.bytes};
  } else {
    node->values.erase(FoldedName(name));
  }
  return Record(CallKind::kSet, key, name, kSuccess);
}

Status MemoryRegistry::Flush(Key key) {
  Status status;
  Resolve(key, status);
  return Record(CallKind::kFlush, key, {}, status);
}

Status MemoryRegistry::Close(Key key) {
  if (key == kCurrentUser) return Record(CallKind::kClose, key, {}, kSuccess);
  const Status status = handles_.erase(key) ? kSuccess : kInvalidHandle;
  return Record(CallKind::kClose, key, {}, status);
}

void MemoryRegistry::CreateKey(std::string_view path) { MakePath(path); }

void MemoryRegistry::SetDword(std::string_view path, std::string_view name, std::uint32_t value) {
  SetValue(path, name, kTypeDword, DwordBytes(value));
}

void MemoryRegistry::SetString(std::string_view path, std::string_view name,
                               std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  SetValue(path, name, kTypeString, std::move(bytes));
}

void MemoryRegistry::SetBinary(std::string_view path, std::string_view name,
                               std::vector<std::uint8_t> bytes) {
  SetValue(path, name, kTypeBinary, std::move(bytes));
}

void MemoryRegistry::SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                              std::vector<std::uint8_t> bytes) {
  MakePath(path).values[FoldedName(name)] = Node::Value{type, std::move(bytes)};
}

void MemoryRegistry::Delete(std::string_view path) {
  const auto parts = SplitPath(path);
  Node* parent = root_.get();
  for (std::size_t i = 0; parent && i + 1 < parts.size(); ++i) {
    const auto it = parent->children.find(parts[i]);
    parent = it == parent->children.end() ? nullptr : it->second.get();
  }
  if (!parent) return;
  if (parts.empty()) {
    for (auto& [name, child] : root_->children) child->MarkDeleted();
    root_->children.clear();
    root_->values.clear();
    return;
  }
  const auto it = parent->children.find(parts.back());
  if (it == parent->children.end()) return;
  it->second->MarkDeleted();
  parent->children.erase(it);
}

std::optional<std::uint32_t> MemoryRegistry::ReadDword(std::string_view path,
                                                       std::string_view name) const {
  const auto bytes = ReadBytes(path, name);
  if (!bytes || ValueType(path, name) != kTypeDword || bytes->size() != 4) return std::nullopt;
  return static_cast<std::uint32_t>((*bytes)[0]) | static_cast<std::uint32_t>((*bytes)[1]) << 8 |
         static_cast<std::uint32_t>((*bytes)[2]) << 16 |
         static_cast<std::uint32_t>((*bytes)[3]) << 24;
}

std::uint32_t MemoryRegistry::ValueType(std::string_view path, std::string_view name) const {
  const Node* node = Find(path);
  const Node::Value* value = node ? node->FindValue(name) : nullptr;
  return value ? value->type : kTypeNone;
}

std::optional<std::vector<std::uint8_t>> MemoryRegistry::ReadBytes(std::string_view path,
                                                                   std::string_view name) const {
  const Node* node = Find(path);
  const Node::Value* value = node ? node->FindValue(name) : nullptr;
  if (!value) return std::nullopt;
  return value->bytes;
}

bool MemoryRegistry::KeyExists(std::string_view path) const { return Find(path) != nullptr; }

void MemoryRegistry::RefuseOpen(std::string_view path) { refusedOpens_.insert(FoldedName(path)); }

void MemoryRegistry::RefuseWrite(std::string_view path) { refusedWrites_.insert(FoldedName(path)); }

}  // namespace store
