// TTransferEngine: building and ending the progress dialog of a run.
#include <algorithm>

#include "transfer/progress_dialog.h"
#include "transfer/transfer_engine.h"

namespace holvex {

void TTransferEngine::BuildDialog() {
  ProgressDialogSetup setup;
  setup.caption = DlgCaption;
  setup.cancel = DlgCancel;
  setup.openFile = DlgOpenFile;
  setup.openFolder = DlgOpenFolder;
  setup.fileLabel = DlgFileLabel;
  setup.progressLabel = DlgProgressLabel;
  setup.rateLabel = DlgRateLabel;
  setup.timeLabel = DlgTimeLabel;
  setup.showTime = ShowTime;
  setup.showOpenFile = ShowOpenFile;
  setup.showOpenFolder = ShowOpenFolder;
  auto dialog = std::make_unique<ProgressDialog>(setup);
  ProgressDialog* built = dialog.get();
  built->OnCancelClick = [this] {
    if (OnCopyCancel) OnCopyCancel(*this);
    cancel_ = true;
  };
  built->OnCloseClick = [this] {
    if (OnCopyCancel) OnCopyCancel(*this);
  };
  built->OnFinished = [this, built] { ReleaseDialog(built); };
  dialogs_.push_back(std::move(dialog));
  dialog_ = built;
  if (ShowDialog) dialog_->Present(AlwaysOnTop);
  cancel_ = false;
}

void TTransferEngine::EndDialog() {
  if (!dialog_) return;
  if (ShowOpenFile || ShowOpenFolder)
    dialog_->EndOfRun(cancel_, openFilePath_, openFolderPath_);
  else
    ReleaseDialog(dialog_);
}

void TTransferEngine::ReleaseDialog(ProgressDialog* dialog) {
  if (!dialog) return;
  if (dialog == dialog_) dialog_ = nullptr;
  auto it =
      std::find_if(dialogs_.begin(), dialogs_.end(), [dialog](const auto& d) { return d.get() == dialog; });
  if (it == dialogs_.end()) return;
  // Out of the list before it goes, in case destroying its window calls back.
  std::unique_ptr<ProgressDialog> gone = std::move(*it);
  dialogs_.erase(it);
  gone->Hide();
}

}  // namespace holvex
