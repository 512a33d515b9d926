#pragma once
// The import dialog: checks every line of the chosen link file, probes the accepted ones and
// queues them, showing each line's outcome in its own list.
#include <string>
#include <utility>
#include <vector>

#include "queue/busy_dialog.h"
#include "toolkit/list_view.h"

namespace holvex {

class TForm5 : public BusyDialog {
 public:
  explicit TForm5(MainWindowHost& main);

  // Shows the dialog, which imports the links of the file; returns once it has closed.
  void Execute(const std::string& linkFile);

 protected:
  void FormActivate() override;

 private:
  void SetRowStatus(size_t row, const char* status);
  void RepaintNowAndThen();

  ListView ListView1;  // "URL", "Status"
  std::string fileName_;
  std::vector<std::pair<std::string, std::string>> rows_;  // line, import status
  unsigned long lastPaint_ = 0;
};

}  // namespace holvex
