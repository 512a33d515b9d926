// TTransferEngine: the one block loop of every transfer, and its progress report.
#include "transfer/copy_loop.h"

#include <algorithm>
#include <limits>

#include "platform/system_error_text.h"
#include "transfer/format.h"
#include "transfer/internet_error_text.h"
#include "transfer/progress_dialog.h"
#include "transfer/transfer_engine.h"

namespace holvex {

namespace {

// A length beyond 2^63 comes only from a hostile server; it is reported as the largest one.
std::int64_t ClampedSigned(std::uint64_t count) {
  return static_cast<std::int64_t>(std::min<std::uint64_t>(count, std::numeric_limits<std::int64_t>::max()));
}

}  // namespace

TTransferOutcome ErrorFailure(int code, const std::string& text) {
  return TTransferOutcome{TTransferOutcome::kFailed, TTransferOutcome::kError, code, text};
}

TTransferOutcome InternetFailure(DWORD number) {
  // A failure of the connection beneath may come with WinSock's number (Wine does so), which
  // WinInet's table lacks: the system's text then says why.
  std::string text = InternetErrorText(number);
  if (text.empty()) text = SystemErrorText(number);
  return ErrorFailure(static_cast<int>(number), text);
}

bool TTransferEngine::CopyBlocks(BlockSource& source, BlockSink& sink, const CopyPlan& plan) {
  std::uint64_t total = plan.total;
  const std::string totalText = TotalText(total);
  const DWORD startTick = plan.startTick ? plan.startTick : GetTickCount();
  std::uint64_t done = 0;
  // kFailed once a source or a sink has said why; a cancel leaves it so.
  TTransferOutcome failure;
  failure.kind = TTransferOutcome::kDone;
  const auto failed = [&] {
    if (failure.kind == TTransferOutcome::kFailed) Report(failure);
    return false;
  };
  for (;;) {
    if (cancel_) return false;
    PumpIfDue();
    const char* data = nullptr;
    DWORD bytes = 0;
    if (!source.Next(&data, &bytes, failure)) return failed();
    if (bytes > 0 && !sink.Put(data, bytes, failure)) return failed();
    done += bytes;
    if (plan.totalMayBeShort && done > total) total = 0;
    ReportBlock(*plan.verb, done, total, totalText, startTick);
    PumpIfDue();
    if (bytes == 0 || (plan.endsWithShortBlock && bytes < plan.blockSize)) break;
  }
  if (cancel_) return false;
  if (!source.Whole(done, failure) || !sink.Finish(failure)) return failed();
  return true;
}

void TTransferEngine::SetFileLine(const std::string& name, const std::string& direction,
                                  const std::string& host) {
  std::string counts;
  if (Items.Count() >= 2)
    counts = std::to_string(fileCounter_) + " " + DlgFileOfLabel + " " + std::to_string(Items.ActiveCount()) +
             " : ";
  dialog_->SetFileLine(DlgFileLabel + " " + counts + name + " " + direction + " " + host);
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
