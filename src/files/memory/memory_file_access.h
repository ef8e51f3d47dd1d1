#pragma once
// Files in memory for native tests: the same results as the Win32 file access for the calls the
// program makes, plus set-up, inspection, injected faults and an account of open files. Paths are
// full Windows paths ("C:\\folder\\name.reg"); names compare without regard to ASCII case, and
// the folder "C:" exists from the start.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_access.h"

namespace files {

class MemoryFileAccess final : public FileAccess {
 public:
  MemoryFileAccess();

  // FileAccess
  Status ReadWhole(const std::u16string& path, std::size_t limit, std::string& bytes) override;
  Status ReplaceWhole(const std::u16string& path, std::string_view bytes) override;

  // Set-up and inspection; never refused.
  void CreateFolder(std::u16string_view path);                     // with its parents
  void SetFile(std::u16string_view path, std::string_view bytes);  // creates its folder
  std::optional<std::string> File(std::u16string_view path) const;
  void SetAttributes(std::u16string_view path, unsigned attributes);  // of an existing file
  unsigned Attributes(std::u16string_view path) const;                // 0: no such file
  // The names of the files in a folder, as they were created.
  std::vector<std::u16string> Names(std::u16string_view folder) const;

  // Injected faults.
  void RefuseCreateIn(std::u16string_view folder);  // no new file there: kAccessDenied
  // The next file written stops after `bytes` bytes with kWriteFault, as on a full disk.
  void FailNextWriteAfter(std::size_t bytes) { failWriteAfter_ = bytes; }
  void RefuseMoveOnto(std::u16string_view path);  // moving a file over it: kAccessDenied
  // Another program holds the file open and shares nothing: reading it is kSharingViolation.
  void HoldOpen(std::u16string_view path) { heldOpen_.insert(Folded(path)); }
  // The file opens, but its bytes cannot be read: kReadFault, as from a failing disk.
  void FailReadsOf(std::u16string_view path) { unreadable_.insert(Folded(path)); }
  // From now on another program makes a file under each new name just before this does; the
  // names it took, without their folder.
  void TakeNewNames() { takeNewNames_ = true; }
  const std::vector<std::u16string>& TakenNames() const { return takenNames_; }
  // From now on a new file cannot take another's place: kSharingViolation.
  void ScanNewFiles() { scanNewFiles_ = true; }

  // Files open now; each call opens one at most, and only while it runs.
  int OpenFiles() const { return openFiles_; }

 private:
  class OpenFile;
  struct Entry {
    std::u16string name;  // as created
    std::string bytes;
    unsigned attributes = kArchive;
  };

  static std::u16string Folded(std::u16string_view path);
  static std::u16string FolderOf(std::u16string_view path);
  Status CreateNew(const std::u16string& path);
  Status Move(const std::u16string& from, const std::u16string& to);

  std::map<std::u16string, Entry> files_;  // by folded path
  std::set<std::u16string> folders_;       // folded
  std::set<std::u16string> refusedCreates_;
  std::set<std::u16string> refusedMoves_;
  std::set<std::u16string> heldOpen_;
  std::set<std::u16string> unreadable_;
  std::optional<std::size_t> failWriteAfter_;
  bool takeNewNames_ = false;
  bool scanNewFiles_ = false;
  std::vector<std::u16string> takenNames_;
  unsigned nextTemp_ = 1;
  int openFiles_ = 0;
};

}  // namespace files
