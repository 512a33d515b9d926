// TTransferEngine: the FTP upload (items of kind tkFtpUpload).
#include <string>

#include "transfer/ftp_transfer.h"
#include "transfer/input_file.h"
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
  InputFile local;
  if (!local.Open(localPath)) {
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
  return Send(local);
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

bool FtpTransfer::Send(InputFile& file) {
  const std::uint64_t total = file.Size();
  const std::string totalText = engine_.TotalText(total);
  const DWORD startTick = GetTickCount();
  char block[FtpConnection::kBlockSize];
  std::uint64_t sent = 0;
  DWORD written = FtpConnection::kBlockSize;
  bool reachedEnd = false;
  // A file whose size is a multiple of the block ends with a pass that hands 0 bytes over.
  while (written == FtpConnection::kBlockSize && !engine_.cancel_) {
    engine_.PumpIfDue();
    const DWORD read = file.Read(block, FtpConnection::kBlockSize);
    StepResult step = ftp_.Write(block, read, &written, wait_);
    if (step != StepResult::kDone) return Fail(step);
    sent += written;
    engine_.ReportBlock(engine_.DlgUpload, sent, total, totalText, startTick);
    if (written < read) return FailBrokenOff();  // the server took only part of the block
    reachedEnd = read < FtpConnection::kBlockSize;
  }
  if (!reachedEnd) return false;  // cancelled
  // Closing the remote file is where the server takes the file's end.
  StepResult closed = ftp_.CloseFile(wait_);
  if (closed != StepResult::kDone) return Fail(closed);
  return true;
}

}  // namespace holvex
