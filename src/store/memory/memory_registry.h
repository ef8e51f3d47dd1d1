#pragma once
// An in-memory registry below HKEY_CURRENT_USER for native tests: the same call results as
// advapi32 for the calls the program makes, plus set-up, inspection, call accounting and
// injected refusals for the tests. Paths are relative to HKEY_CURRENT_USER ("Software\\Mirabilis",
// "" for HKEY_CURRENT_USER itself); key and value names compare case-insensitively.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "store/registry.h"

namespace store {

// Value types, numbered as in Windows.
constexpr std::uint32_t kTypeNone = 0;
constexpr std::uint32_t kTypeString = 1;  // REG_SZ
constexpr std::uint32_t kTypeBinary = 3;  // REG_BINARY
constexpr std::uint32_t kTypeDword = 4;   // REG_DWORD

constexpr Status kKeyDeleted = 1018;  // a handle whose key was deleted while it was open

class MemoryRegistry final : public Registry {
 public:
  enum class CallKind { kOpen, kQuery, kSet, kFlush, kClose };
  struct Call {
    CallKind kind;
    Key key;           // the parent for an open
    std::string name;  // subkey or value name; empty for flush and close
    Status status;
  };
  struct CallCounts {
    int opens = 0;
    int queries = 0;
    int writes = 0;
    int flushes = 0;
    int closes = 0;
    int Total() const { return opens + queries + writes + flushes + closes; }
  };

  MemoryRegistry();
  ~MemoryRegistry() override;
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

  // Registry
  Status OpenKey(Key parent, std::string_view subKey, Key& result) override;
  Status QueryDword(Key key, std::string_view name, std::uint32_t& data) override;
  Status SetDword(Key key, std::string_view name, std::uint32_t data) override;
  Status QueryRaw(Key key, std::string_view name, RawValue& value) override;
  Status RestoreRaw(Key key, std::string_view name, const RawValue& value) override;
  Status Flush(Key key) override;
  Status Close(Key key) override;

  // Set-up and inspection; never counted or refused. Setting a value creates its key.
  void CreateKey(std::string_view path);
  void SetDword(std::string_view path, std::string_view name, std::uint32_t value);
  void SetString(std::string_view path, std::string_view name, std::string_view text);  // + NUL
  void SetBinary(std::string_view path, std::string_view name, std::vector<std::uint8_t> bytes);
  void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                std::vector<std::uint8_t> bytes);
  void Delete(std::string_view path);  // the key with everything below it; "" empties the hive
  std::optional<std::uint32_t> ReadDword(std::string_view path, std::string_view name) const;
  std::uint32_t ValueType(std::string_view path, std::string_view name) const;  // kTypeNone: none
  std::optional<std::vector<std::uint8_t>> ReadBytes(std::string_view path,
                                                     std::string_view name) const;
  bool KeyExists(std::string_view path) const;

  // Injected faults, by key path; they outlive deleting and re-creating the key.
  void RefuseOpen(std::string_view path);   // OpenKey of that key: kAccessDenied
  void RefuseWrite(std::string_view path);  // writes under that key: kAccessDenied, no change

  // Accounting.
  std::size_t OpenHandleCount() const { return handles_.size(); }
  const CallCounts& Counts() const { return counts_; }
  const std::vector<Call>& CallLog() const { return log_; }
  void ClearCalls();

 private:
  struct Node;

  Node* Find(std::string_view path) const;
  Node& MakePath(std::string_view path);
  Node* Resolve(Key key, Status& status) const;
  Status Record(CallKind kind, Key key, std::string_view name, Status status);

  std::shared_ptr<Node> root_;
  std::map<Key, std::shared_ptr<Node>> handles_;
  Key nextHandle_ = 0x1000;
  std::set<std::string> refusedOpens_;
  std::set<std::string> refusedWrites_;
  CallCounts counts_;
  std::vector<Call> log_;
};

}  // namespace store
