// TTransferEngine: what the FTP download and upload share.
#include "transfer/ftp_transfer.h"

#include "transfer/copy_loop.h"
#include "transfer/paths.h"
#include "transfer/system_dates.h"
#include "transfer/wine_workarounds.h"

namespace holvex {

namespace {

TDateTime ListedDate(const FILETIME& time) {
  SYSTEMTIME system{};
  FileTimeToSystemTime(&time, &system);  // a failure leaves the record zero, which is refused
  // What Wine leaves in them would make an equal date look newer.
  if (wine::ZeroListedMilliseconds()) system.wMilliseconds = 0;
  return SystemTimeToDateTime(system);
}

}  // namespace

FtpTransfer::FtpTransfer(TTransferEngine& engine, int idx, const TTransferItem& item, TDateTime& workingDate,
                         bool& noNewFile)
    : engine_(engine),
      idx_(idx),
      item_(item),
      workingDate_(workingDate),
      noNewFile_(noNewFile),
      wait_(engine.NetworkWait()),
      ftp_(kUserAgent, engine.Proxy, engine.StallTimeoutMs) {
  noNewFile_ = false;
}

void FtpTransfer::SetFileLine(const std::string& direction) {
  engine_.SetFileLine(UrlFileName(item_.URL), direction, item_.FTPHost);
}

bool FtpTransfer::Connect() {
  // The login only with both parts; otherwise WinInet's anonymous one.
  const bool login = !item_.FTPUserID.empty() && !item_.FTPPassword.empty();
  StepResult connected = ftp_.Connect(item_.FTPHost, static_cast<INTERNET_PORT>(item_.FTPPort),
                                      login ? item_.FTPUserID : std::string(),
                                      login ? item_.FTPPassword : std::string(), engine_.FTPPassive, wait_);
  if (connected == StepResult::kStopped) return false;  // cancelled
  if (connected != StepResult::kDone) {
    engine_.ReportError(kErrorConnect, "Cannot connect to FTP server " + item_.FTPHost);
    return false;
  }
  engine_.PumpMessages();
  return true;
}

bool FtpTransfer::DateAllows(const FILETIME& listed, const std::string& name) {
  if (engine_.DateAllows(idx_, ListedDate(listed), name, workingDate_, noNewFile_)) return true;
  ftp_.Close();
  return false;
}

void FtpTransfer::NotFound(const std::string& text) {
  ftp_.Close();
  engine_.Report(TTransferOutcome::kUrlNotFound, 0, text);
}

std::optional<TTransferOutcome> FtpTransfer::FailureOf(StepResult step) const {
  if (step == StepResult::kTimedOut)
    return ErrorFailure(kErrorFtpNoAnswer, "Keine Antwort vom FTP-Server " + item_.FTPHost);
  if (step == StepResult::kFailed) return InternetFailure(ftp_.LastError());
  return std::nullopt;  // a cancel
}

bool FtpTransfer::Fail(StepResult step) {
  ftp_.Close();
  if (std::optional<TTransferOutcome> failure = FailureOf(step)) engine_.Report(*failure);
  return false;
}

bool FtpBlocks::Next(const char** data, DWORD* bytes, TTransferOutcome& failure) {
  const StepResult step = transfer_.ftp_.Read(data, bytes, transfer_.wait_);
  return step == StepResult::kDone || Failed(step, failure);
}

bool FtpBlocks::Whole(std::uint64_t done, TTransferOutcome& failure) {
  // A data connection that ends early also ends with a 0-byte read: the listed size tells.
  if (!listedSize_ || done >= *listedSize_) return true;
  return Failed(StepResult::kFailed, failure, ERROR_INTERNET_CONNECTION_ABORTED);
}

bool FtpBlocks::Put(const char* data, DWORD size, TTransferOutcome& failure) {
  DWORD written = 0;
  const StepResult step = transfer_.ftp_.Write(data, size, &written, transfer_.wait_);
  if (step != StepResult::kDone) return Failed(step, failure);
  // The server took only part of the block.
  return written == size || Failed(StepResult::kFailed, failure, ERROR_INTERNET_CONNECTION_ABORTED);
}

bool FtpBlocks::Finish(TTransferOutcome& failure) {
  // Closing the remote file is where the server takes the file's end.
  const StepResult closed = transfer_.ftp_.CloseFile(transfer_.wait_);
  return closed == StepResult::kDone || Failed(closed, failure);
}

bool FtpBlocks::Failed(StepResult step, TTransferOutcome& failure, DWORD number) {
  transfer_.ftp_.Close();
  if (number)
    failure = InternetFailure(number);
  else if (std::optional<TTransferOutcome> reason = transfer_.FailureOf(step))
    failure = *reason;
  return false;
}

void FtpTransfer::SetOpenPaths(const std::string& file) {
  engine_.openFilePath_ = file;
  engine_.openFolderPath_ = item_.TargetDir;
}

}  // namespace holvex
