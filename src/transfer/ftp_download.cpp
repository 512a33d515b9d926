// TTransferEngine: the FTP download (items of kind tkFtp).
#include <string>

#include "transfer/file_blocks.h"
#include "transfer/ftp_transfer.h"
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
  const std::optional<std::string> target = engine_.PrepareTarget(item_, remoteName, /*createFolder=*/false);
  if (!target) {
    ftp_.Close();
    return false;
  }
  // A missing target folder fails the creation: none is made. A break, a stall or a cancel keeps
  // the partial file for the user to inspect.
  TargetFileSink file(*target, "Cannot create target file ", TargetFileSink::WriteFailure::kRaised);
  FtpBlocks remote(*this, listedSize);
  CopyPlan plan;
  plan.verb = &engine_.DlgDownload;
  plan.blockSize = FtpConnection::kBlockSize;
  plan.total = listedSize.value_or(0);
  plan.totalMayBeShort = true;
  return engine_.CopyBlocks(remote, file, plan);
}

}  // namespace holvex
