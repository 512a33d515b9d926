#pragma once
// The save-queue dialog: writes load.hvq while showing what it writes, on "Speichern..." and
// on every confirmed exit (which ends the program once it has saved).
#include "queue/queue_entry.h"
#include "toolkit/animate.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"
#include "toolkit/timer.h"

namespace holvex {

class MainWindowHost;

class TForm4 : public Form {
 public:
  explicit TForm4(MainWindowHost& main);

  // Shows the dialog, which saves the queue and closes itself; true when the queue was saved.
  bool Execute();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FormActivate();
  // Writes the queue (or deletes the file of an empty one); false after an error box.
  bool Save();
  void ShowProgress(size_t index, size_t count, const QueueEntry& entry);
  void Timer2Timer();

  Animate Animate1;
  Label Label1;
  ProgressBar ProgressBar1;
  Timer Timer2;

  MainWindowHost& main_;
  UniqueFont italic_;
  bool saved_ = false;
  DWORD lastShown_ = 0;
};

}  // namespace holvex
