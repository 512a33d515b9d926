// TTransferEngine: what the FTP download and upload share.
#include "transfer/ftp_transfer.h"

#include "transfer/paths.h"
#include "transfer/system_dates.h"

namespace holvex {

namespace {

// A listing tells the time to the second at best, and Wine leaves the milliseconds of its
// record unset: what they hold would make an equal date look newer.
TDateTime ListedDate(const FILETIME& time) {
  SYSTEMTIME system{};
  FileTimeToSystemTime(&time, &system);  // a failure leaves the record zero, which is refused
  system.wMilliseconds = 0;
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
    engine_.ReportError(6, "Cannot connect to FTP server " + item_.FTPHost);
    return false;
  }
  engine_.PumpMessages();
  return true;
}

bool FtpTransfer::DateAllows(const FILETIME& listed, const std::string& name) {
  const TDateTime newdate = ListedDate(listed);
  if (engine_.OnFileDateCheck) {
    bool allow = true;
    engine_.OnFileDateCheck(engine_, idx_, newdate, allow);
    workingDate_ = newdate;
    return allow;
  }
  const bool newer = IsLater(newdate, workingDate_);
  workingDate_ = newdate;
  if (newer) return true;
  noNewFile_ = true;
  ftp_.Close();
  if (engine_.OnNoNewFileFound) engine_.OnNoNewFileFound(engine_, name, workingDate_, newdate);
  return false;
}

void FtpTransfer::NotFound(const std::string& text) {
  ftp_.Close();
  if (engine_.OnURLNotFound) engine_.OnURLNotFound(engine_, text);
}

bool FtpTransfer::Fail(StepResult step) {
  ftp_.Close();
  if (step == StepResult::kTimedOut)
    engine_.ReportError(kErrorFtpNoAnswer, "Keine Antwort vom FTP-Server " + item_.FTPHost);
  else if (step == StepResult::kFailed)
    engine_.ReportInternetError(ftp_.LastError());
  return false;
}

bool FtpTransfer::FailBrokenOff() {
  ftp_.Close();
  engine_.ReportInternetError(ERROR_INTERNET_CONNECTION_ABORTED);
  return false;
}

void FtpTransfer::SetOpenPaths(const std::string& file) {
  engine_.openFilePath_ = file;
  engine_.openFolderPath_ = item_.TargetDir;
}

}  // namespace holvex
