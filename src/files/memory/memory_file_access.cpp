#include "files/memory/memory_file_access.h"

#include <string>

namespace files {

// Counts itself among the open files for as long as it lives.
class MemoryFileAccess::OpenFile {
 public:
  explicit OpenFile(MemoryFileAccess& owner) : owner_(owner) { ++owner_.openFiles_; }
  ~OpenFile() { --owner_.openFiles_; }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

 private:
  MemoryFileAccess& owner_;
};

MemoryFileAccess::MemoryFileAccess() { folders_.insert(u"C:"); }

std::u16string MemoryFileAccess::Folded(std::u16string_view path) {
  std::u16string folded(path);
  for (char16_t& c : folded) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c == u'/') c = u'\\';
  }
  while (!folded.empty() && folded.back() == u'\\') folded.pop_back();
  return folded;
}

std::u16string MemoryFileAccess::FolderOf(std::u16string_view path) {
  const std::u16string folded = Folded(path);
  const std::size_t slash = folded.rfind(u'\\');
  return slash == std::u16string::npos ? std::u16string() : folded.substr(0, slash);
}

void MemoryFileAccess::CreateFolder(std::u16string_view path) {
  std::u16string folder = Folded(path);
  while (!folder.empty() && folders_.insert(folder).second) folder = FolderOf(folder);
}

void MemoryFileAccess::SetFile(std::u16string_view path, std::string_view bytes) {
  CreateFolder(FolderOf(path));
  files_[Folded(path)] = Entry{std::u16string(path), std::string(bytes)};
}

std::optional<std::string> MemoryFileAccess::File(std::u16string_view path) const {
  const auto found = files_.find(Folded(path));
  if (found == files_.end()) return std::nullopt;
  return found->second.bytes;
}

void MemoryFileAccess::SetAttributes(std::u16string_view path, unsigned attributes) {
  files_.at(Folded(path)).attributes = attributes;
}

unsigned MemoryFileAccess::Attributes(std::u16string_view path) const {
  const auto found = files_.find(Folded(path));
  return found == files_.end() ? 0 : found->second.attributes;
}

std::vector<std::u16string> MemoryFileAccess::Names(std::u16string_view folder) const {
  std::vector<std::u16string> names;
  const std::u16string folded = Folded(folder);
  for (const auto& [path, entry] : files_) {
    if (FolderOf(path) == folded) names.push_back(entry.name.substr(entry.name.rfind(u'\\') + 1));
  }
  return names;
}

void MemoryFileAccess::RefuseCreateIn(std::u16string_view folder) {
  refusedCreates_.insert(Folded(folder));
}

void MemoryFileAccess::RefuseMoveOnto(std::u16string_view path) {
  refusedMoves_.insert(Folded(path));
}

Status MemoryFileAccess::ReadWhole(const std::u16string& path, std::size_t limit,
                                   std::string& bytes) {
  bytes.clear();
  const std::u16string folded = Folded(path);
  if (folders_.count(folded)) return kIsAFolder;
  if (heldOpen_.count(folded)) return kSharingViolation;
  const auto found = files_.find(folded);
  if (found == files_.end()) {
    return folders_.count(FolderOf(path)) ? kFileNotFound : kPathNotFound;
  }
  OpenFile open(*this);
  if (found->second.bytes.size() > limit) return kFileTooLarge;
  if (unreadable_.count(folded)) return kReadFault;
  bytes = found->second.bytes;
  return kSuccess;
}

Status MemoryFileAccess::CreateNew(const std::u16string& path) {
  const std::u16string folded = Folded(path);
  if (!folders_.count(FolderOf(path))) return kPathNotFound;
  if (refusedCreates_.count(FolderOf(path))) return kAccessDenied;
  if (takeNewNames_ && !files_.count(folded) && !folders_.count(folded)) {
    files_[folded] = Entry{path, "another program's"};
    takenNames_.push_back(path.substr(path.rfind(u'\\') + 1));
  }
  if (files_.count(folded) || folders_.count(folded)) return kFileExists;
  files_[folded] = Entry{path, {}};
  return kSuccess;
}

Status MemoryFileAccess::Move(const std::u16string& from, const std::u16string& to) {
  const std::u16string target = Folded(to);
  if (refusedMoves_.count(target) || folders_.count(target)) return kAccessDenied;
  auto node = files_.extract(Folded(from));
  node.key() = target;
  node.mapped().name = to;
  if (const auto replaced = files_.find(target); replaced != files_.end()) {
    node.mapped().attributes = replaced->second.attributes;
  }
  files_.erase(target);
  files_.insert(std::move(node));
  return kSuccess;
}

Status MemoryFileAccess::ReplaceWhole(const std::u16string& path, std::string_view bytes) {
  if (Attributes(path) & kReadOnly) return kAccessDenied;
  const std::size_t slash = Folded(path).rfind(u'\\');
  const std::u16string folder = slash == std::u16string::npos ? u"" : path.substr(0, slash + 1);
  std::u16string temp;
  Status status = kFileExists;
  for (int attempt = 0; attempt < 100 && status == kFileExists; ++attempt) {
    const std::string number = std::to_string(nextTemp_++);
    temp = folder + u"~tintmark" + std::u16string(number.begin(), number.end()) + u".tmp";
    status = CreateNew(temp);
  }
  if (status != kSuccess) return status;

  {
    OpenFile open(*this);
    std::string& written = files_[Folded(temp)].bytes;
    if (failWriteAfter_) {
      written.assign(bytes.substr(0, *failWriteAfter_));
      failWriteAfter_.reset();
      status = kWriteFault;
    } else {
      written.assign(bytes);
    }
  }
  if (status == kSuccess) status = scanNewFiles_ ? kSharingViolation : Move(temp, path);
  if (status != kSuccess) files_.erase(Folded(temp));
  return status;
}

}  // namespace files
