#pragma once
// The engine's own progress dialog: four text lines, a bar, a clip and up to three buttons.
// Built for every run; shown only when asked. After a run with Open buttons it stays open
// with "Close" on its Cancel button until the user is done with it.
#include <functional>
#include <string>

#include "toolkit/animate.h"
#include "toolkit/button.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"

namespace holvex {

struct ProgressDialogSetup {
  std::string caption, cancel, openFile, openFolder;
  std::string fileLabel, progressLabel, rateLabel, timeLabel;
  bool showTime = false;
  bool showOpenFile = false;
  bool showOpenFolder = false;
};

class ProgressDialog : public Form {
 public:
  static constexpr int kWidth = 300;

  explicit ProgressDialog(const ProgressDialogSetup& setup);

  // Modeless; topmost on request.
  void Present(bool alwaysOnTop);

  void SetCaption(const std::string& text);
  // The four lines take their new texts at once and show them at the next Flush: a window
  // text costs a round trip to the window system, and a transfer sets them for every block,
  // far more often than anything is painted.
  void SetFileLine(const std::string& text) { file_.Set(text); }
  void SetProgressLine(const std::string& text) { progress_.Set(text); }
  void SetRateLine(const std::string& text) { rate_.Set(text); }
  void SetTimeLine(const std::string& text) { time_.Set(text); }
  const std::string& FileLine() const { return file_.text; }
  const std::string& ProgressLine() const { return progress_.text; }
  const std::string& RateLine() const { return rate_.text; }
  const std::string& TimeLine() const { return time_.text; }
  // Hands changed lines to their labels; called before messages are processed.
  void Flush();
  void SetBarPosition(int position);
  int BarPosition() const { return barPosition_; }
  // Opens and plays that clip unless it is already the one shown.
  void UseClip(int resourceId);

  // The run is over: "Close" on the Cancel button, the clip stopped, and unless the run was
  // cancelled the Open buttons enabled for these paths.
  void EndOfRun(bool cancelled, const std::string& openFile, const std::string& openFolder);
  bool RunEnded() const { return runEnded_; }

  // Cancel during the run, Close after it.
  std::function<void()> OnCancelClick;
  std::function<void()> OnCloseClick;
  // After an Open button or Close: the owner may now free the dialog (posted, so that
  // the click has been handled by then).
  std::function<void()> OnFinished;

  Label FileLabel, ProgressLabel, RateLabel, TimeLabel;
  Animate Animation;
  Button CancelButton, OpenFolderButton, OpenFileButton;
  ProgressBar Bar;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Line {
    explicit Line(Label& l) : label(l) {}
    void Set(const std::string& value) {
      if (value == text) return;
      text = value;
      changed = true;
    }
    void Flush();
    Label& label;
    std::string text;
    bool changed = false;
  };
  void CreateChildren(const ProgressDialogSetup& setup);
  void CancelClicked();
  void OpenClicked(const std::string& path);
  void Finish();

  Line file_{FileLabel}, progress_{ProgressLabel}, rate_{RateLabel}, time_{TimeLabel};
  std::string caption_;
  std::string openFile_, openFolder_;
  int barPosition_ = 0;
  bool runEnded_ = false;
};

}  // namespace holvex
