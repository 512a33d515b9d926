// TTransferEngine: the FTP upload (items of kind tkFtpUpload).
#include <string>

#include "transfer/file_blocks.h"
#include "transfer/ftp_transfer.h"
#include "transfer/paths.h"

namespace holvex {

bool FtpTransfer::Upload() {
  SetFileLine(engine_.DlgToServerLabel);
  if (!Connect()) return false;
  if (!item_.TargetDir.empty() && !EnterFolder(item_.TargetDir)) return false;
  engine_.PumpMessages();
  const std::string& localPath = item_.URL;
  const std::string remoteName = item_.TargetFilename.empty() ? UrlFileName(localPath) : item_.TargetFilename;
  if (item_.CopyNewerOnly || engine_.OnFileDateCheck) {
    // Compares the server's copy with FileDate; a copy the server does not list is no obstacle.
    WIN32_FIND_DATAA record{};
    StepResult found = ftp_.Find(remoteName, &record, wait_);
    if (found == StepResult::kTimedOut || found == StepResult::kStopped) return Fail(found);
    if (found == StepResult::kDone && !DateAllows(record.ftLastWriteTime, remoteName)) return false;
  }
  // The local file first: opening the remote one for writing empties the server's copy.
  SourceFile local;
  if (!IsUsableFileName(UrlFileName(localPath)) ||
      !local.Open(localPath, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
    ftp_.Close();
    engine_.ReportError(kErrorOpenSource, "Cannot create target file " + localPath);
    return false;
  }
  StepResult opened = ftp_.OpenFile(remoteName, GENERIC_WRITE, wait_);
  if (opened == StepResult::kFailed) {
    NotFound(localPath);
    return false;
  }
  if (opened != StepResult::kDone) return Fail(opened);
  engine_.PumpMessages();
  SetOpenPaths(localPath);
  FileBlockSource blocks(local, localPath, FtpConnection::kBlockSize, FileBlockSource::ReadFailure::kRaised);
  FtpBlocks remote(*this);
  CopyPlan plan;
  plan.verb = &engine_.DlgUpload;
  plan.blockSize = FtpConnection::kBlockSize;
  plan.total = local.Size().value_or(0);
  plan.endsWithShortBlock = true;
  return engine_.CopyBlocks(blocks, remote, plan);
}

bool FtpTransfer::EnterFolder(const std::string& folder) {
  StepResult entered = ftp_.SetDirectory(folder, wait_);
  if (entered == StepResult::kDone) return true;
  if (entered != StepResult::kFailed) return Fail(entered);
  // One level is created; a folder the server refuses to create or enter fails the item quietly.
  StepResult made = ftp_.MakeDirectory(folder, wait_);
  if (made == StepResult::kDone) made = ftp_.SetDirectory(folder, wait_);
  if (made == StepResult::kDone) return true;
  if (made == StepResult::kFailed) {
    engine_.Report(TTransferOutcome::kUnreported, 0, "Cannot enter or create folder " + folder);
    return false;
  }
  return Fail(made);
}

}  // namespace holvex
