#include "transfer/transfer_engine.h"

#include "platform/locale_format.h"
#include "toolkit/application.h"
#include "transfer/internet_request.h"
#include "transfer/ftp_transfer.h"
#include "transfer/progress_dialog.h"
#include "transfer/wine_workarounds.h"

namespace holvex {

namespace {
constexpr int kUploadClip = 258;
}

TTransferEngine::TTransferEngine(Window* owner) : owner_(owner) {}

TTransferEngine::~TTransferEngine() = default;

void TTransferEngine::Execute() {
  BuildDialog();
  decimal_ = UserLocaleSeparators().decimal;
  try {
    if (NeedsInternet()) session_ = std::make_unique<InternetSession>(kUserAgent, Proxy, StallTimeoutMs);
    fileCounter_ = 0;
    for (int idx = 0; idx < Items.Count(); ++idx) {
      if (!Items[idx].Active) continue;
      RunItem(idx);
      if (cancel_) break;
    }
  } catch (...) {
    // The error ends the run here; handle and dialog go with it.
    session_.reset();
    ReleaseDialog(dialog_);
    throw;
  }
  session_.reset();
  if (OnCopyDone) OnCopyDone(*this);
  EndDialog();
}

bool TTransferEngine::NeedsInternet() const {
  for (int i = 0; i < Items.Count(); ++i)
    if (Items[i].Active && Items[i].Protocol != tkFile) return true;
  return false;
}

void TTransferEngine::RunItem(int idx) {
  ++fileCounter_;
  if (OnFileStart) OnFileStart(*this, idx);
  // The routine works on a copy: a handler may change the list meanwhile.
  const TTransferItem item = Items[idx];
  const std::string& verb = item.Protocol == tkFile                                           ? DlgCopying
                            : (item.Protocol == tkFtpUpload || item.Protocol == tkHttpUpload) ? DlgUpload
                                                                                              : DlgDownload;
  dialog_->SetCaption(verb + " ...");
  if (item.Protocol == tkFtpUpload || item.Protocol == tkHttpUpload) dialog_->UseClip(kUploadClip);
  TDateTime workingDate = item.FileDate;
  bool noNewFile = false;
  bool result = false;
  reports_.clear();
  skipped_ = false;
  try {
    result = RunRoutine(idx, item, workingDate, noNewFile);
  } catch (...) {
    RaiseReports();  // what was reported before the error still reaches the handlers
    throw;
  }
  const TTransferOutcome outcome = OutcomeOf(result, noNewFile);
  RaiseReports();
  if (idx < Items.Count()) {
    TTransferItem& stored = Items[idx];
    stored.NewFileDate = workingDate;
    stored.Outcome = outcome;
    stored.Copied = outcome.kind == TTransferOutcome::kDone;
    stored.NoNewFile = noNewFile;
  }
  if (!cancel_ && OnFileDone) OnFileDone(*this, idx);
}

bool TTransferEngine::RunRoutine(int idx, const TTransferItem& item, TDateTime& workingDate,
                                 bool& noNewFile) {
  bool result = false;
  switch (item.Protocol) {
    case tkHttp:
      result = DownloadUrl(idx, item, workingDate, noNewFile);
      break;
    case tkFile:
      result = CopyLocalFile(idx, item, workingDate, noNewFile);
      break;
    case tkHttpUpload:
      result = UploadHttp(item);
      break;
    case tkFtp:
      result = FtpTransfer(*this, idx, item, workingDate, noNewFile).Download();
      break;
    case tkFtpUpload:
      result = FtpTransfer(*this, idx, item, workingDate, noNewFile).Upload();
      break;
    default:
      break;
  }
  return result;
}

TTransferOutcome TTransferEngine::OutcomeOf(bool result, bool noNewFile) const {
  TTransferOutcome outcome;
  if (cancel_)
    outcome.kind = TTransferOutcome::kCancelled;
  else if (result)
    outcome.kind = TTransferOutcome::kDone;
  else if (!reports_.empty())
    outcome = reports_.front();
  else if (skipped_ || noNewFile)
    outcome.kind = TTransferOutcome::kSkipped;
  return outcome;
}

void TTransferEngine::ReportError(int code, const std::string& text) {
  Report(TTransferOutcome::kError, code, text);
}

void TTransferEngine::Report(TTransferOutcome::Report how, int code, const std::string& text) {
  reports_.push_back(TTransferOutcome{TTransferOutcome::kFailed, how, code, text});
}

bool TTransferEngine::Skip() {
  skipped_ = true;
  return false;
}

void TTransferEngine::RaiseReports() {
  const std::vector<TTransferOutcome> reports = std::move(reports_);
  reports_.clear();
  for (const TTransferOutcome& r : reports) {
    switch (r.report) {
      case TTransferOutcome::kError:
        if (OnError) OnError(*this, r.code);
        if (OnErrorInfo) OnErrorInfo(*this, r.code, r.text);
        break;
      case TTransferOutcome::kUrlNotFound:
        if (OnURLNotFound) OnURLNotFound(*this, r.text);
        break;
      case TTransferOutcome::kConnectError:
        if (OnConnectError) OnConnectError(*this);
        break;
      case TTransferOutcome::kUnreported:
        break;
    }
  }
}

void TTransferEngine::PumpMessages() {
  if (dialog_) dialog_->Flush();
  Application::Instance().ProcessMessages();
  lastPump_ = GetTickCount();
}

void TTransferEngine::PumpIfDue() {
  if (GetTickCount() - lastPump_ >= wine::PumpIntervalMs()) PumpMessages();
}

bool TTransferEngine::StopWaiting() const { return cancel_ || Application::Instance().Terminated(); }

WaitPolicy TTransferEngine::NetworkWait() {
  return WaitPolicy{StallTimeoutMs, [this] { PumpMessages(); }, [this] { return StopWaiting(); }};
}

}  // namespace holvex
