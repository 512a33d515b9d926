#pragma once
// The add-download dialog: takes the file name of the typed address, probes its size and
// queues it as "Wartend".
#include <string>

#include "queue/busy_dialog.h"

namespace holvex {

class TForm3 : public BusyDialog {
 public:
  explicit TForm3(MainWindowHost& main);

  // Shows the dialog, which queues the address; returns once it has closed.
  void Execute(const std::string& url);

 protected:
  void FormActivate() override;

 private:
  std::string url_;
};

}  // namespace holvex
