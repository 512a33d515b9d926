// TTransferEngine: the download by URL (items of kind tkHttp).
#include <optional>
#include <string>

#include "platform/text.h"
#include "transfer/internet_request.h"
#include "transfer/content_length.h"
#include "transfer/copy_loop.h"
#include "transfer/file_blocks.h"
#include "transfer/paths.h"
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

class HttpBody : public BlockSource {
 public:
  HttpBody(Request& request, WaitPolicy wait)
      : request_(request), wait_(std::move(wait)), announced_(AnnouncedLength(request)) {}
  std::uint64_t Total() const { return announced_.value_or(0); }

  bool Next(const char** data, DWORD* bytes, TTransferOutcome& failure) override {
    const StepResult r = request_.Read(data, bytes, wait_);
    if (r == StepResult::kDone) return true;
    if (r != StepResult::kStopped) failure = InternetFailure(request_.LastError());  // a stall, a broken line
    return false;
  }

  // A body that ends short of its announced length ends like a whole one, and so does a head cut
  // off by the server: without an announced length only bytes tell.
  bool Whole(std::uint64_t done, TTransferOutcome& failure) override {
    if (announced_ ? done == *announced_ : done > 0) return true;
    failure = InternetFailure(ERROR_INTERNET_CONNECTION_ABORTED);
    return false;
  }

 private:
  Request& request_;
  const WaitPolicy wait_;
  const std::optional<std::uint64_t> announced_;
};

}  // namespace

bool TTransferEngine::DownloadUrl(int idx, const TTransferItem& item, TDateTime& workingDate,
                                  bool& noNewFile) {
  noNewFile = false;
  const std::string& url = item.URL;  // opened as it is: proxy credentials travel as options
  const std::string bareName = UrlFileName(url);
  SetFileLine(bareName, DlgFromServerLabel, UrlHost(url));
  Request request;
  if (!OpenDownload(request, url)) return false;
  // Without a Last-Modified header the empty date raises DateConversionError.
  if ((item.CopyNewerOnly || OnFileDateCheck) &&
      !DateAllows(idx, SystemTimeToDateTime(request.QuerySystemTime(HTTP_QUERY_LAST_MODIFIED)), bareName,
                  workingDate, noNewFile))
    return false;
  const std::optional<std::string> target = PrepareTarget(item, bareName, /*createFolder=*/true);
  if (!target) return false;

  TargetFileSink file(*target, "Cannot create file ", TargetFileSink::WriteFailure::kRaised);
  HttpBody body(request, NetworkWait());
  CopyPlan plan;
  plan.verb = &DlgDownload;
  plan.blockSize = Request::kBlockSize;
  plan.total = body.Total();
  bool whole = CopyBlocks(body, file, plan);
  // A chunked body has no length to compare with.
  if (whole && IsChunked(request) && ConnectionStaysOpen(request) &&
      !request.CloseConfirmingEnd(NetworkWait())) {
    whole = false;
    Report(InternetFailure(ERROR_INTERNET_CONNECTION_ABORTED));
  }
  request.Close();
  file.Close();
  // A cancelled body goes; one that broke off stays for the user to inspect.
  if (cancel_) file.Discard();
  return whole;
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

}  // namespace holvex
