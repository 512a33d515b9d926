#pragma once
// What a download run shows, and where: the main window's log, commands, status bar and the
// extra progress window. The run decides what to show; the view only shows it.
#include <cstdint>
#include <string>

namespace holvex {

// The texts of one progress report, formatted for the user's locale.
struct ProgressTexts {
  std::string fileName;
  std::int64_t size = 0, totsize = 0;  // bytes so far, bytes in all (0: not announced)
  std::string amount;                  // "( 1,50 MB von 3,00 MB fertig. )"
  std::string percent;                 // "50"
  std::string remaining;               // the time still to go, "00:00:07"
  std::string rate;                    // "1.234,56 KB/Sek."
};

class RunView {
 public:
  // "hh:mm:ss: " + message, in the status log.
  virtual void AddLogLine(const std::string& message) = 0;
  // The run could not start: no connection to the internet. Logs and tells the user.
  virtual void ReportOffline() = 0;
  // The run started, was cancelled or has left the stack (see DownloadRun::CurrentState).
  virtual void RunStateChanged() = 0;
  // The extra window's texts for the next entry (written also when the window stays hidden).
  virtual void PrepareEntry(const std::string& fileName, const std::string& source,
                            const std::string& folder) = 0;
  virtual void ShowExtraWindow(bool shown) = 0;
  virtual void ShowProgress(const ProgressTexts& texts) = 0;
  // Empties the status bar's three panels.
  virtual void ClearPanels() = 0;

 protected:
  RunView() = default;
  ~RunView() = default;
  RunView(const RunView&) = delete;
  RunView& operator=(const RunView&) = delete;
};

}  // namespace holvex
