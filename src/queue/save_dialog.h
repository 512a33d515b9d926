#pragma once
// The save-queue dialog: writes load.hvq while showing what it writes, on "Speichern..." and
// on every confirmed exit (then it ends the program).
#include "toolkit/animate.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"
#include "toolkit/timer.h"

namespace holvex {

class TForm1;

class TForm4 : public Form {
 public:
  explicit TForm4(TForm1& main);

  Animate Animate1;
  Label Label1;
  ProgressBar ProgressBar1;
  Timer Timer2;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FormActivate();
  void SaveEntries();
  void Timer2Timer();

  TForm1& main_;
  UniqueFont italic_;
};

}  // namespace holvex
