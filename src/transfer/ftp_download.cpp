// TTransferEngine: the FTP download (items of kind tkFtp).
#include <string>

#include "transfer/ftp_transfer.h"
#include "transfer/local_files.h"
#include "transfer/paths.h"

namespace holvex {

bool FtpTransfer::Download() {
  SetFileLine(engine_.DlgFromServerLabel);
  if (!Connect()) return false;
  const std::string& path = item_.URL;
  // Up to and including the last "/"; a path without one stays in the login folder.
  const std::string folder = path.substr(0, path.rfind('/') + 1);
  if (!folder.empty()) {
    StepResult entered = ftp_.SetDirectory(folder, wait_);
    if (entered == StepResult::kFailed) {
      NotFound(path);
      return false;
    }
    if (entered != StepResult::kDone) return Fail(entered);
  }
  const std::string remoteName = UrlFileName(path);
  WIN32_FIND_DATAA record{};
  StepResult found = ftp_.Find(remoteName, &record, wait_);
  if (found == StepResult::kTimedOut || found == StepResult::kStopped) return Fail(found);
  // Not listed: no size and no date check, but the file may still open.
  std::optional<std::uint64_t> listedSize;
  if (found == StepResult::kDone) {
    listedSize = (static_cast<std::uint64_t>(record.nFileSizeHigh) << 32) | record.nFileSizeLow;
    if ((item_.CopyNewerOnly || engine_.OnFileDateCheck) && !DateAllows(record.ftLastWriteTime, remoteName))
      return false;
  }

  engine_.PumpMessages();
  StepResult opened = ftp_.OpenFile(remoteName, GENERIC_READ, wait_);
  engine_.PumpMessages();
  if (opened == StepResult::kFailed) {
    NotFound(path);
    return false;
  }
  if (opened != StepResult::kDone) return Fail(opened);
  const std::string target =
      JoinPath(item_.TargetDir, item_.TargetFilename.empty() ? remoteName : item_.TargetFilename);
  SetOpenPaths(target);
  if (TargetFileExists(target) && engine_.OnCopyOverWrite) {
    bool allow = true;
    engine_.OnCopyOverWrite(engine_, target, allow);
    // A cancel from the handler leaves the existing file as it was: nothing would replace it.
    if (!allow || engine_.cancel_) {
      ftp_.Close();
      return allow ? false : engine_.Skip();
    }
  }
  // Created or truncated with the first block, or at the end of an empty file: a cancel or a
  // failure before that leaves a file of that name as it was. A break, a stall or a cancel after
  // it keeps the partial file for the user to inspect.
  OutputFile file;
  if (!Receive(file, target, listedSize)) return false;
  if (!file.IsOpen() && !CreateTarget(file, target)) return false;
  return true;
}

bool FtpTransfer::CreateTarget(OutputFile& file, const std::string& target) {
  if (file.Open(target)) return true;  // also a target folder that does not exist: none is created
  ftp_.Close();
  engine_.ReportError(kErrorCreateTarget, "Cannot create target file " + target);
  return false;
}

bool FtpTransfer::Receive(OutputFile& file, const std::string& target,
                          std::optional<std::uint64_t> listedSize) {
  std::uint64_t total = listedSize.value_or(0);
  const std::string totalText = engine_.TotalText(total);
  const DWORD startTick = GetTickCount();
  std::uint64_t done = 0;
  DWORD bytes = FtpConnection::kBlockSize;
  StepResult step = StepResult::kDone;
  while (bytes > 0 && !engine_.cancel_) {
    engine_.PumpIfDue();
    const char* data = nullptr;
    step = ftp_.Read(&data, &bytes, wait_);
    if (step != StepResult::kDone) break;
    if (bytes > 0 && !file.IsOpen() && !CreateTarget(file, target)) return false;
    if (bytes > 0) file.Write(data, bytes);
    done += bytes;
    // Longer than listed (a link's own length, a file that grew): the size is not known.
    if (done > total) total = 0;
    engine_.ReportBlock(engine_.DlgDownload, done, total, totalText, startTick);
  }
  if (step != StepResult::kDone) return Fail(step);
  if (bytes > 0) return false;  // cancelled
  // A data connection that ends early also ends with a 0-byte read: the listed size tells.
  if (listedSize && done < *listedSize) return FailBrokenOff();
  return true;
}

}  // namespace holvex
