#include "transfer/transfer_engine.h"

#include "platform/locale_format.h"
#include "toolkit/application.h"
#include "transfer/async_internet.h"
#include "transfer/ftp_transfer.h"
#include "transfer/progress_dialog.h"

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
  if (idx < Items.Count()) {
    TTransferItem& stored = Items[idx];
    stored.NewFileDate = workingDate;
    stored.Copied = result && !cancel_;
    stored.NoNewFile = noNewFile;
  }
  if (!cancel_ && OnFileDone) OnFileDone(*this, idx);
}

void TTransferEngine::ReportError(int code, const std::string& text) {
  if (OnError) OnError(*this, code);
  if (OnErrorInfo) OnErrorInfo(*this, code, text);
}

void TTransferEngine::PumpMessages() {
  if (dialog_) dialog_->Flush();
  Application::Instance().ProcessMessages();
  lastPump_ = GetTickCount();
}

void TTransferEngine::PumpIfDue() {
  if (GetTickCount() - lastPump_ >= kPumpIntervalMs) PumpMessages();
}

bool TTransferEngine::StopWaiting() const { return cancel_ || Application::Instance().Terminated(); }

WaitPolicy TTransferEngine::NetworkWait() {
  return WaitPolicy{StallTimeoutMs, [this] { PumpMessages(); }, [this] { return StopWaiting(); }};
}

}  // namespace holvex
