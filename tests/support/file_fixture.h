#pragma once
// The files of one test, the same way on both builds: natively in memory, under Wine in a real
// folder below the temporary folder, removed again with everything in it. Set-up and inspection go
// around the file access under test.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_access.h"

namespace tktest {

class FileFixture {
 public:
  virtual ~FileFixture() = default;

  // The implementation under test.
  virtual files::FileAccess& Access() = 0;

  // A new, empty folder of this test; the name may hold any character a folder name may.
  virtual std::u16string Folder(std::u16string_view name) = 0;
  // A folder that exists, in which nothing can be created.
  virtual std::u16string LockedFolder() = 0;
  // A file of a few bytes whose size, asked before reading, is short of what a read finds: a file
  // that grows while it is read.
  virtual std::u16string GrowingFile() = 0;
  // A new file of three bytes, "gre", to which another program adds a fourth while it is read.
  virtual std::u16string FileGrowingByAByte() = 0;
  // A file that opens but whose bytes cannot be read.
  virtual std::u16string UnreadableFile() = 0;
  // A new, empty folder whose full path is longer than MAX_PATH; none where the system has no
  // such paths.
  virtual std::optional<std::u16string> DeepFolder() = 0;

  // The next file written stops after `bytes` bytes with an error, as on a full disk.
  virtual void FailNextWriteAfter(std::size_t bytes) = 0;
  // From now on another program makes a file under each new name just before the access under
  // test does; the names it took (without their folder), in order.
  virtual void TakeNewNames() = 0;
  virtual std::vector<std::u16string> TakenNames() = 0;
  // From now on a virus scanner opens each new file as soon as the access under test has closed
  // it, sharing its reading and writing but not its renaming or deletion.
  virtual void ScanNewFiles() = 0;

  virtual void Put(const std::u16string& path, std::string_view bytes) = 0;
  virtual std::optional<std::string> Get(const std::u16string& path) = 0;
  // Another program holds the existing file open, sharing nothing, until the fixture is gone.
  virtual void HoldOpen(const std::u16string& path) = 0;
  // Attributes of an existing file, files::kReadOnly and the others.
  virtual void SetAttributes(const std::u16string& path, unsigned attributes) = 0;
  virtual unsigned Attributes(const std::u16string& path) = 0;
  // The names of the files in a folder (not of its folders), sorted.
  virtual std::vector<std::u16string> Names(const std::u16string& folder) = 0;
  // How many files of this test are held open now, by the access under test.
  virtual int OpenFiles() = 0;
};

std::unique_ptr<FileFixture> MakeFileFixture();

}  // namespace tktest
