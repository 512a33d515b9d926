// TTransferEngine: what the FTP download and upload share.
#include "transfer/ftp_transfer.h"

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
  const TDateTime newdate = ListedDate(listed);
  if (engine_.OnFileDateCheck) {
    bool allow = true;
    engine_.OnFileDateCheck(engine_, idx_, newdate, allow);
    workingDate_ = newdate;
    return allow || engine_.Skip();
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
  engine_.Report(TTransferOutcome::kUrlNotFound, 0, text);
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
