// TTransferEngine: the HTTP upload (items of kind tkHttpUpload), a local file sent as the body of
// a POST or PUT request whose whole length is declared up front.
#include <algorithm>
#include <limits>
#include <string>

#include "transfer/copy_loop.h"
#include "transfer/file_blocks.h"
#include "transfer/internet_request.h"
#include "transfer/local_files.h"
#include "transfer/paths.h"
#include "transfer/transfer_engine.h"
#include "transfer/transfer_error.h"
#include "transfer/url_parts.h"

namespace holvex {

namespace {

// The request's body, handed to WinInet block by block.
class UploadBody : public BlockSink {
 public:
  UploadBody(Request& request, const WaitPolicy& wait) : request_(request), wait_(wait) {}
  bool Put(const char* data, DWORD size, TTransferOutcome& failure) override {
    DWORD written = 0;
    const StepResult r = request_.Write(data, size, &written, wait_);
    if (r == StepResult::kDone && written == size) return true;
    if (r != StepResult::kStopped)
      failure =
          InternetFailure(r == StepResult::kDone ? ERROR_INTERNET_CONNECTION_ABORTED : request_.LastError());
    return false;
  }

 private:
  Request& request_;
  const WaitPolicy& wait_;
};

}  // namespace

bool TTransferEngine::UploadHttp(const TTransferItem& item) {
  const std::string& url = item.URL;  // sent as it is: proxy credentials travel as options
  const std::string host = UrlHost(url);
  SetFileLine(UrlFileName(url), DlgFromServerLabel, host);
  const std::string path =
      JoinPath(item.TargetDir, item.TargetFilename.empty() ? UrlFileName(url) : item.TargetFilename);
  if (!TargetFileExists(path)) {
    Report(TTransferOutcome::kUnreported, 0, "No file " + path);
    return false;
  }
  openFilePath_ = path;
  openFolderPath_ = item.TargetDir;

  PumpMessages();
  // To the address's own port (80 when it names none).
  Request request;
  const char* verb = item.HTTPCommand == hcPut ? "PUT" : "POST";
  const WaitPolicy wait = NetworkWait();
  const StepResult opened = session_
                                ? request.OpenUpload(*session_, url, verb, ProxyUserID, ProxyPassword, wait)
                                : StepResult::kFailed;
  if (opened == StepResult::kStopped) return false;
  if (opened != StepResult::kDone) {
    ReportError(kErrorConnect, "Cannot connect to server " + host);
    return false;
  }
  SourceFile file;
  if (!file.Open(path, FILE_SHARE_READ)) throw TransferError("Cannot open file " + path);
  const std::uint64_t length = file.Size().value_or(0);
  // WinInet takes the declared length as a 32-bit number (INTERNET_BUFFERS.dwBufferTotal).
  if (length > std::numeric_limits<DWORD>::max()) {
    ReportError(kErrorUploadTooLarge, "Cannot send " + path + " by HTTP upload: it has " +
                                          std::to_string(length) +
                                          " bytes, and an upload can declare at most 4294967295 bytes "
                                          "(4 GiB - 1)");
    return false;
  }
  const auto size = static_cast<DWORD>(length);

  if (StepResult started = request.BeginUpload(size, wait); started != StepResult::kDone) {
    if (started != StepResult::kStopped) ReportInternetError(request.LastError());
    return false;
  }
  // Never more than declared, should the file grow meanwhile; short of it, the file shrank and the
  // request is broken. A body broken off is not ended: the server would wait for the rest of it,
  // and we for its answer.
  FileBlockSource blocks(file, path, Request::kBlockSize, FileBlockSource::ReadFailure::kRaised, size);
  UploadBody body(request, wait);
  CopyPlan plan;
  plan.verb = &DlgUpload;
  plan.blockSize = Request::kBlockSize;
  plan.total = size;
  plan.endsWithShortBlock = true;
  if (!CopyBlocks(blocks, body, plan)) return false;
  return FinishUpload(request, wait);
}

bool TTransferEngine::FinishUpload(Request& request, const WaitPolicy& wait) {
  StepResult ended = request.EndUpload(wait);
  if (ended == StepResult::kStopped) return false;
  if (ended != StepResult::kDone) {
    ReportInternetError(request.LastError());
    return false;
  }
  // The server may refuse what it received.
  DWORD status = request.QueryNumber(HTTP_QUERY_STATUS_CODE).value_or(0);
  if (status >= 300) {
    ReportError(static_cast<int>(status), "Returned http error code " + std::to_string(status));
    return false;
  }
  return true;
}

void TTransferEngine::ReportInternetError(DWORD number) { Report(InternetFailure(number)); }

}  // namespace holvex
