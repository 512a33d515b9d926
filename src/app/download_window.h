#pragma once
// The small always-on-top window that shows the current entry's transfer during a run.
#include <cstdint>
#include <functional>

#include "run/run_view.h"
#include "toolkit/clip_player.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"
#include "toolkit/speed_button.h"

namespace holvex {

class TForm9 : public Form {
 public:
  TForm9();

  // Shown centred over `over`, its clip running.
  void ShowOver(const Window& over);
  // The texts for the next entry, before its first progress report.
  void BeginEntry(const std::string& fileName, const std::string& source, const std::string& folder);
  // A progress report: only the texts that changed are set (each change is a repaint, and the
  // caption's one goes through the window manager).
  void ShowProgress(const ProgressTexts& texts);
  // The bar's range is 32-bit: from 2 GiB on, both counts are scaled down alike.
  void SetBarBytes(std::int64_t done, std::int64_t total);

  ClipPlayer Animate1;
  Label Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9;
  ProgressBar ProgressBar1;
  SpeedButton SpeedButton1;

  // The main window's cancel command.
  std::function<void()> onCancel;

  void FormActivate();
  void SpeedButton1Click();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static void SetIfChanged(Window& w, std::string& shown, const std::string& text);
  // What the progress reports last set, so that an unchanged text costs no message.
  std::string caption_, amount_, rate_, remaining_;
  int barRange_ = -1, barPosition_ = -1;
  static constexpr DWORD kRepaintIntervalMs = 250;
  DWORD shownAt_ = 0;  // when a report was last shown; 0: not yet for this entry
};

}  // namespace holvex
