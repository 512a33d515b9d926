#pragma once
// The add-download dialog: takes the file name of the typed address, probes its size and
// queues it as "Wartend".
#include "queue/busy_dialog.h"

namespace holvex {

class TForm3 : public BusyDialog {
 public:
  explicit TForm3(MainWindowHost& main);

 protected:
  void FormActivate() override;
};

}  // namespace holvex
