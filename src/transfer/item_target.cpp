// TTransferEngine: what every kind does before its blocks: the target, its overwrite question and
// folder, and the date check.
#include "transfer/local_files.h"
#include "transfer/paths.h"
#include "transfer/transfer_engine.h"

namespace holvex {

std::optional<std::string> TTransferEngine::PrepareTarget(const TTransferItem& item, const std::string& name,
                                                          bool createFolder) {
  const std::string target =
      JoinPath(item.TargetDir, item.TargetFilename.empty() ? name : item.TargetFilename);
  openFilePath_ = target;
  openFolderPath_ = item.TargetDir;
  if (TargetFileExists(target) && OnCopyOverWrite) {
    bool allow = true;
    OnCopyOverWrite(*this, target, allow);
    if (!allow) {
      Skip();
      return std::nullopt;
    }
    // A cancel from the handler leaves the existing file as it was: nothing would replace it.
    if (cancel_) return std::nullopt;
  }
  if (createFolder) MakeDirectoryPath(DirectoryPart(target));
  return target;
}

bool TTransferEngine::DateAllows(int idx, TDateTime newdate, const std::string& name, TDateTime& workingDate,
                                 bool& noNewFile) {
  const TDateTime before = workingDate;
  workingDate = newdate;
  if (OnFileDateCheck) {
    bool allow = true;
    OnFileDateCheck(*this, idx, newdate, allow);
    return allow || Skip();
  }
  if (IsLater(newdate, before)) return true;
  noNewFile = true;
  if (OnNoNewFileFound) OnNoNewFileFound(*this, name, workingDate, newdate);
  return false;
}

}  // namespace holvex
