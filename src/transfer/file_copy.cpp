// TTransferEngine: the file copy (items of kind tkFile), of a local file or of one on a network
// share that is connected for the copy alone.
#include <windows.h>
#include <winnetwk.h>

#include "transfer/copy_loop.h"
#include "transfer/file_blocks.h"
#include "transfer/paths.h"
#include "transfer/progress_dialog.h"
#include "transfer/system_dates.h"
#include "transfer/transfer_engine.h"

namespace holvex {

namespace {

constexpr int kCopyClip = 259;
constexpr DWORD kCopyBlockSize = 16384;

DWORD ConnectShare(const TTransferItem& item) {
  // The record takes writable texts; WNetAddConnection2A only reads them.
  std::string remote = item.FTPHost, local, provider;
  NETRESOURCEA resource{};
  resource.dwType = RESOURCETYPE_DISK;
  resource.lpLocalName = local.data();  // no drive letter
  resource.lpRemoteName = remote.data();
  resource.lpProvider = provider.data();
  return WNetAddConnection2A(&resource, item.FTPPassword.c_str(), item.FTPUserID.c_str(), 0);
}

DWORD DisconnectShare(const std::string& share) {
  return WNetCancelConnection2A(share.c_str(), CONNECT_UPDATE_PROFILE, TRUE);
}

// The folder of a path, without its trailing separator.
std::string FolderName(const std::string& path) {
  std::string folder = DirectoryPart(path);
  if (!folder.empty()) folder.pop_back();
  return folder;
}

}  // namespace

bool TTransferEngine::CopyLocalFile(int idx, const TTransferItem& item, TDateTime& workingDate,
                                    bool& noNewFile) {
  noNewFile = false;
  dialog_->UseClip(kCopyClip);
  const std::string& share = item.FTPHost;
  SetFileLine(UrlFileName(item.URL), DlgFromServerLabel, share.empty() ? FolderName(item.URL) : share);
  if (share.empty()) return CopyFromSource(idx, item, workingDate, noNewFile);

  // A refused connection may be the user's own one to that share (1219: other credentials),
  // which a forced cancel would drop with its open files: only our own connection is cancelled.
  if (ConnectShare(item) != NO_ERROR) {
    Report(TTransferOutcome::kConnectError, 0, "Cannot connect to " + share);
    return false;
  }
  bool result = false;
  try {
    result = CopyFromSource(idx, item, workingDate, noNewFile);
  } catch (...) {
    DisconnectShare(share);  // the error ends the run: the share goes first
    throw;
  }
  if (DisconnectShare(share) != NO_ERROR) {
    Report(TTransferOutcome::kConnectError, 0, "Cannot disconnect from " + share);
    result = false;
  }
  return result;
}

bool TTransferEngine::CopyFromSource(int idx, const TTransferItem& item, TDateTime& workingDate,
                                     bool& noNewFile) {
  const DWORD startTick = GetTickCount();
  const std::string source = item.FTPHost.empty() ? item.URL : item.FTPHost + "\\" + item.URL;
  const std::string name = UrlFileName(item.URL);
  const std::string target =
      JoinPath(item.TargetDir, item.TargetFilename.empty() ? name : item.TargetFilename);
  // The same file under another spelling ("c:\A\X.ZIP", a relative path, another drive letter
  // for the same folder) would be truncated before a byte of it was read.
  if (source == target || SameFileOnDisk(source, target)) {
    ReportError(kErrorIdenticalFiles, "Cannot copy identical files " + source);
    return false;
  }
  SourceFile input;
  if (!input.Open(source, 0)) {
    ReportError(kErrorOpenSource, "Cannot open source file " + source);
    return false;
  }
  if ((item.CopyNewerOnly || OnFileDateCheck) &&
      !DateAllows(idx, FileTimeToDateTime(input.LastWriteTime().value_or(FILETIME{})), source, workingDate,
                  noNewFile))
    return false;
  const std::uint64_t size = input.Size().value_or(0);
  if (size == 0) {
    ReportError(kErrorZeroLengthSource, "Zero length source file " + source);
    return false;
  }
  if (!PrepareTarget(item, name, /*createFolder=*/true)) return false;

  FileBlockSource blocks(input, source, kCopyBlockSize, FileBlockSource::ReadFailure::kReported);
  TargetFileSink output(target, "Cannot create target file ", TargetFileSink::WriteFailure::kReported);
  CopyPlan plan;
  plan.verb = &DlgCopying;
  plan.blockSize = kCopyBlockSize;
  plan.total = size;
  plan.startTick = startTick;
  cancel_ = false;                          // a cancel while the copy was prepared is not seen
  return CopyBlocks(blocks, output, plan);  // a cancel leaves the partial target
}

}  // namespace holvex
