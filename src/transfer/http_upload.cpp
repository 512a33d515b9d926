// TTransferEngine: the HTTP upload (items of kind tkHttpUpload), a local file sent as the body of
// a POST or PUT request whose whole length is declared up front.
#include <algorithm>
#include <limits>
#include <string>

#include "platform/system_error_text.h"
#include "transfer/async_internet.h"
#include "transfer/internet_error_text.h"
#include "transfer/local_files.h"
#include "transfer/paths.h"
#include "transfer/progress_dialog.h"
#include "transfer/source_file.h"
#include "transfer/transfer_engine.h"
#include "transfer/transfer_error.h"
#include "transfer/url_parts.h"

namespace holvex {

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
  if (!session_ || !request.OpenUpload(*session_, url, verb, ProxyUserID, ProxyPassword)) {
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

  const WaitPolicy wait = NetworkWait();
  if (StepResult started = request.BeginUpload(size, wait); started != StepResult::kDone) {
    if (started != StepResult::kStopped) ReportInternetError(request.LastError());
    return false;
  }
  // A body broken off is not ended: the server would wait for the rest of it, and we for its answer.
  if (!SendBody(request, file, size, path, wait)) return false;
  return FinishUpload(request, wait);
}

bool TTransferEngine::SendBody(Request& request, SourceFile& file, DWORD size, const std::string& path,
                               const WaitPolicy& wait) {
  const std::string totalText = TotalText(size);
  const DWORD startTick = GetTickCount();
  char block[Request::kBlockSize];
  DWORD sent = 0;  // never above the declared size
  DWORD read = Request::kBlockSize;
  while (read == Request::kBlockSize && !cancel_) {
    // Never more than declared, should the file grow meanwhile.
    if (!file.Read(block, std::min<DWORD>(Request::kBlockSize, size - sent), &read))
      throw TransferError("Error reading file " + path);
    if (read > 0) {
      DWORD written = 0;
      StepResult r = request.Write(block, read, &written, wait);
      if (r == StepResult::kStopped) return false;
      if (r != StepResult::kDone || written != read) {
        ReportInternetError(r == StepResult::kDone ? ERROR_INTERNET_CONNECTION_ABORTED : request.LastError());
        return false;
      }
      sent += written;  // what the platform took
    }
    ReportBlock(DlgUpload, sent, size, totalText, startTick);
    PumpIfDue();
  }
  if (cancel_) return false;
  // Short of the declared length: the file shrank meanwhile, and the request is broken.
  if (sent != size) {
    ReportError(kErrorReadSource, "Error reading source file " + path);
    return false;
  }
  return true;
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

void TTransferEngine::ReportInternetError(DWORD number) {
  // A failure of the connection beneath may come with WinSock's number (Wine does so), which
  // WinInet's table lacks: the system's text then says why.
  std::string text = InternetErrorText(number);
  if (text.empty()) text = SystemErrorText(number);
  ReportError(static_cast<int>(number), text);
}

}  // namespace holvex
