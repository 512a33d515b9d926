#pragma once
// The small always-on-top window that shows the current entry's transfer during a run.
#include <cstdint>
#include <functional>

#include "toolkit/animate.h"
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
  // Sets a label's text only when it changes: the run writes these texts for every block.
  static void SetTextIfChanged(Window& w, const std::string& text);
  // The bar's range is 32-bit: from 2 GiB on, both counts are scaled down alike.
  void SetBarBytes(std::int64_t done, std::int64_t total);

  Animate Animate1;
  Label Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9;
  ProgressBar ProgressBar1;
  SpeedButton SpeedButton1;

  // The main window's cancel command.
  std::function<void()> onCancel;

  void FormActivate();
  void SpeedButton1Click();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace holvex
