// TTransferEngine: the file copy (items of kind tkFile), of a local file or of one on a network
// share that is connected for the copy alone.
#include <windows.h>

#include <vector>

#include <winnetwk.h>

#include "transfer/local_files.h"
#include "transfer/paths.h"
#include "transfer/progress_dialog.h"
#include "transfer/source_file.h"
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
  const std::string target =
      JoinPath(item.TargetDir, item.TargetFilename.empty() ? UrlFileName(item.URL) : item.TargetFilename);
  openFilePath_ = target;
  openFolderPath_ = item.TargetDir;
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
      !SourceDateAllows(idx, input, source, workingDate, noNewFile))
    return false;
  const std::uint64_t size = input.Size().value_or(0);
  if (size == 0) {
    input.Close();
    ReportError(kErrorZeroLengthSource, "Zero length source file " + source);
    return false;
  }
  if (TargetFileExists(target) && OnCopyOverWrite) {
    bool allow = true;
    OnCopyOverWrite(*this, target, allow);
    if (!allow) return Skip();
  }
  MakeDirectoryPath(DirectoryPart(target));
  OutputFile output;
  if (!output.Open(target)) {
    input.Close();
    ReportError(kErrorCreateTarget, "Cannot create target file " + target);
    return false;
  }
  return CopyBlocks(input, output, size, source, target, startTick);
}

bool TTransferEngine::SourceDateAllows(int idx, SourceFile& source, const std::string& sourcePath,
                                       TDateTime& workingDate, bool& noNewFile) {
  const TDateTime newdate = FileTimeToDateTime(source.LastWriteTime().value_or(FILETIME{}));
  if (OnFileDateCheck) {
    bool allow = true;
    OnFileDateCheck(*this, idx, newdate, allow);
    if (allow) workingDate = newdate;
    return allow || Skip();
  }
  if (!IsLater(newdate, workingDate)) {
    noNewFile = true;
    workingDate = newdate;
    source.Close();
    if (OnNoNewFileFound) OnNoNewFileFound(*this, sourcePath, workingDate, newdate);
    return false;
  }
  workingDate = newdate;
  return true;
}

bool TTransferEngine::CopyBlocks(SourceFile& source, OutputFile& target, std::uint64_t size,
                                 const std::string& sourcePath, const std::string& targetPath,
                                 DWORD startTick) {
  std::vector<char> buffer(kCopyBlockSize);  // one for the item, gone on every exit
  const std::string totalText = TotalText(size);
  cancel_ = false;  // a cancel while the copy was prepared is not seen
  std::uint64_t copied = 0;
  for (;;) {
    DWORD read = 0;
    if (!source.Read(buffer.data(), kCopyBlockSize, &read)) {
      source.Close();
      target.Close();
      ReportError(kErrorReadSource, "Error reading source file " + sourcePath);
      return false;
    }
    // A short write (a full disk, a quota) fails like a refused one: the target lacks bytes.
    if (read > 0 && !target.WriteAll(buffer.data(), read)) {
      source.Close();
      target.Close();
      ReportError(kErrorWriteTarget, "Error writing to destination file " + targetPath);
      return false;
    }
    copied += read;
    ReportBlock(DlgCopying, copied, size, totalText, startTick);
    PumpIfDue();
    if (read == 0) return true;  // the end: every byte arrived
    if (cancel_) return false;   // the partial target stays
  }
}

}  // namespace holvex
