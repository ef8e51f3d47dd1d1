#pragma once
// The common file dialog as a component: set its properties, then show it for opening or saving.

#include <string>

#include "toolkit/backend.h"
#include "toolkit/form.h"

namespace tk {

// Splits "folder\*.reg" into the folder and the pattern, as the classic file dialog reads an
// initial name holding wildcards; any other name is returned whole with no folder.
void SplitInitialFileName(const std::u16string& fileName, std::u16string& folder,
                          std::u16string& name);
// "a|b|c|d" as the double-zero-terminated list the common dialogs take.
std::u16string FilterList(const std::u16string& filter);

class FileDialog {
 public:
  FileDialog(Application& app, std::u16string title, std::u16string filter,
             std::u16string defaultExt)
      : app_(app),
        title_(std::move(title)),
        filter_(std::move(filter)),
        defaultExt_(std::move(defaultExt)) {}

  // When set, a cancelled dialog reports kCancelled; otherwise a cancel reports kOk and leaves
  // FileName as it was.
  bool CancelError = false;
  std::u16string FileName;
  int Flags = 0;

  DialogResult ShowOpen() { return Show(false); }
  DialogResult ShowSave() { return Show(true); }

  const std::u16string& Title() const { return title_; }
  const std::u16string& Filter() const { return filter_; }
  const std::u16string& DefaultExt() const { return defaultExt_; }

 private:
  DialogResult Show(bool save) {
    FileDialogRequest request{save, title_, filter_, defaultExt_, FileName, Flags};
    const DialogResult result = app_.ShowFileDialog(request);
    if (result == DialogResult::kOk) FileName = request.fileName;
    if (result == DialogResult::kCancelled && !CancelError) return DialogResult::kOk;
    return result;
  }

  Application& app_;
  std::u16string title_;
  std::u16string filter_;
  std::u16string defaultExt_;
};

}  // namespace tk
