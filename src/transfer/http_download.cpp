// TTransferEngine: the download by URL (items of kind tkHttp).
#include <algorithm>
#include <limits>
#include <string>

#include "platform/text.h"
#include "transfer/async_internet.h"
#include "transfer/content_length.h"
#include "transfer/format.h"
#include "transfer/local_files.h"
#include "transfer/paths.h"
#include "transfer/progress_dialog.h"
#include "transfer/system_dates.h"
#include "transfer/transfer_engine.h"
#include "transfer/url_parts.h"

namespace holvex {

namespace {

// A length that cannot be read counts as none announced.
std::optional<std::uint64_t> AnnouncedLength(const Request& request) {
  std::optional<std::string> text = request.QueryText(HTTP_QUERY_CONTENT_LENGTH);
  return text ? ParseContentLength(*text) : std::nullopt;
}

// A length beyond 2^63 comes only from a hostile server; it is reported as the largest one.
std::int64_t ClampedSigned(std::uint64_t count) {
  return static_cast<std::int64_t>(std::min<std::uint64_t>(count, std::numeric_limits<std::int64_t>::max()));
}

bool IsChunked(const Request& request) {
  std::optional<std::string> coding = request.QueryText(HTTP_QUERY_TRANSFER_ENCODING);
  return coding && ToLowerAscii(*coding).find("chunked") != std::string::npos;
}

// An answer whose connection is to serve again, judged as WinInet judges it: HTTP/1.1 without
// a Connection header, or any answer that asks for "Keep-Alive".
bool ConnectionStaysOpen(const Request& request) {
  for (DWORD header : {HTTP_QUERY_PROXY_CONNECTION, HTTP_QUERY_CONNECTION})
    if (std::optional<std::string> value = request.QueryText(header))
      return EqualsIgnoreCase(*value, "keep-alive");
  std::optional<std::string> version = request.QueryText(HTTP_QUERY_VERSION);
  return version && EqualsIgnoreCase(*version, "HTTP/1.1");
}

}  // namespace

void TTransferEngine::SetFileLine(const std::string& name, const std::string& direction,
                                  const std::string& host) {
  std::string counts;
  if (Items.Count() >= 2)
    counts = std::to_string(fileCounter_) + " " + DlgFileOfLabel + " " + std::to_string(Items.ActiveCount()) +
             " : ";
  dialog_->SetFileLine(DlgFileLabel + " " + counts + name + " " + direction + " " + host);
}

bool TTransferEngine::DownloadUrl(int idx, const TTransferItem& item, TDateTime& workingDate,
                                  bool& noNewFile) {
  noNewFile = false;
  const std::string& url = item.URL;  // opened as it is: proxy credentials travel as options
  const std::string bareName = UrlFileName(url);
  SetFileLine(bareName, DlgFromServerLabel, UrlHost(url));
  Request request;
  if (!OpenDownload(request, url)) return false;
  if ((item.CopyNewerOnly || OnFileDateCheck) &&
      !SourceIsNewer(idx, request, bareName, workingDate, noNewFile))
    return false;

  const std::string target =
      JoinPath(item.TargetDir, item.TargetFilename.empty() ? UrlFileName(url) : item.TargetFilename);
  openFilePath_ = target;
  openFolderPath_ = item.TargetDir;
  if (TargetFileExists(target) && OnCopyOverWrite) {
    bool allow = true;
    OnCopyOverWrite(*this, target, allow);
    // A cancel from the handler leaves the existing file as it was: nothing would replace it.
    if (!allow) return Skip();
    if (cancel_) return false;
  }
  MakeDirectoryPath(DirectoryPart(target));
  // The target is created or truncated with the first block, or once the body is known to be
  // empty: a cancel or a failure before that leaves a file of that name as it was.
  OutputFile file;
  bool complete = ReceiveBody(request, file, target);
  // A chunked body has no length to compare with.
  if (complete && IsChunked(request) && ConnectionStaysOpen(request) &&
      !request.CloseConfirmingEnd(NetworkWait())) {
    complete = false;
    ReportInternetError(ERROR_INTERNET_CONNECTION_ABORTED);
  }
  request.Close();
  if (complete && !file.IsOpen() && !file.Open(target)) {
    ReportError(kErrorCreateTarget, "Cannot create file " + target);
    return false;
  }
  file.Close();
  if (cancel_) file.Discard();
  return complete;
}

bool TTransferEngine::OpenDownload(Request& request, const std::string& url) {
  PumpMessages();
  StepResult opened = session_ ? request.Open(*session_, url, ProxyUserID, ProxyPassword, NetworkWait())
                               : StepResult::kFailed;
  PumpMessages();
  if (opened == StepResult::kStopped) return false;  // cancelled while connecting
  if (opened != StepResult::kDone) {
    Report(TTransferOutcome::kUrlNotFound, 0, url);
    return false;
  }
  DWORD status = request.QueryNumber(HTTP_QUERY_STATUS_CODE).value_or(0);
  if (status >= 300) {
    request.Close();
    ReportError(static_cast<int>(status), "Returned http error code " + std::to_string(status));
    return false;
  }
  return true;
}

bool TTransferEngine::SourceIsNewer(int idx, Request& request, const std::string& bareName,
                                    TDateTime& workingDate, bool& noNewFile) {
  // Without a Last-Modified header the empty date raises DateConversionError.
  TDateTime newdate = SystemTimeToDateTime(request.QuerySystemTime(HTTP_QUERY_LAST_MODIFIED));
  if (OnFileDateCheck) {
    workingDate = newdate;
    bool allow = true;
    OnFileDateCheck(*this, idx, newdate, allow);
    return allow || Skip();
  }
  if (!IsLater(newdate, workingDate)) {
    noNewFile = true;
    workingDate = newdate;
    request.Close();
    if (OnNoNewFileFound) OnNoNewFileFound(*this, bareName, workingDate, newdate);
    return false;
  }
  workingDate = newdate;
  return true;
}

bool TTransferEngine::ReceiveBody(Request& request, OutputFile& file, const std::string& target) {
  const WaitPolicy wait = NetworkWait();
  const std::optional<std::uint64_t> announced = AnnouncedLength(request);
  const std::uint64_t total = announced.value_or(0);
  const std::string totalText = TotalText(total);
  const DWORD startTick = GetTickCount();
  std::uint64_t done = 0;
  DWORD bytes = Request::kBlockSize;
  while (bytes > 0 && !cancel_) {
    PumpIfDue();
    const char* data = nullptr;
    if (request.Read(&data, &bytes, wait) != StepResult::kDone) {
      // A stall or a broken line; a cancel is no failure.
      if (!cancel_) ReportInternetError(request.LastError());
      return false;
    }
    if (bytes > 0 && !file.IsOpen() && !file.Open(target)) {
      ReportError(kErrorCreateTarget, "Cannot create file " + target);
      return false;
    }
    if (bytes > 0) file.Write(data, bytes);
    done += bytes;
    ReportBlock(DlgDownload, done, total, totalText, startTick);
    PumpIfDue();
  }
  if (cancel_) return false;
  // A body that ends short of its announced length ends like a whole one, and so does a head cut
  // off by the server: without an announced length only bytes tell. The partial file stays for
  // the user to inspect.
  if (announced ? done != *announced : done == 0) {
    ReportInternetError(ERROR_INTERNET_CONNECTION_ABORTED);
    return false;
  }
  return true;
}

std::string TTransferEngine::TotalText(std::uint64_t total) const {
  return " " + DlgFileOfLabel + " " + FormatSize(ClampedSigned(total), decimal_);
}

void TTransferEngine::ReportBlock(const std::string& verb, std::uint64_t done, std::uint64_t total,
                                  const std::string& totalText, DWORD startTick) {
  const std::int64_t signedDone = ClampedSigned(done);
  const std::int64_t signedTotal = ClampedSigned(total);
  std::string line = DlgProgressLabel + " " + FormatSize(signedDone, decimal_);
  if (total > 0) {
    dialog_->SetBarPosition(ProgressPercent(done, total));
    line += totalText;
  }
  dialog_->SetProgressLine(line);
  if (OnCopyProgress) OnCopyProgress(*this, fileCounter_, signedDone, signedTotal);
  if (ShowCompletion)
    dialog_->SetCaption(verb + " : " + std::to_string(dialog_->BarPosition()) + "% " + DlgCompleted);
  DWORD elapsed = GetTickCount() - startTick;
  dialog_->SetRateLine(DlgRateLabel + " " + FormatRate(AverageRate(done, elapsed), decimal_));
  elapsed = GetTickCount() - startTick;
  dialog_->SetTimeLine(DlgTimeLabel + " " + FormatTimeLeft(elapsed, signedDone, signedTotal));
}

}  // namespace holvex
