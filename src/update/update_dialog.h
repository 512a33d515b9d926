#pragma once
// The update check: shows the program's version and asks the maker's update service whether a
// newer one exists, through the main window's HTTP client (and so through its proxy).
#include <functional>
#include <string>

#include "toolkit/animate.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/label.h"
#include "toolkit/speed_button.h"

namespace holvex {

class MainWindowHost;

class TForm2 : public Form {
 public:
  explicit TForm2(MainWindowHost& main);

  void SpeedButton1Click();  // "Suchen"
  void SpeedButton2Click();  // "Ende"

  // Run when the user wants the homepage after a "new" answer; opens it in the browser.
  std::function<void()> openHomepage;

  // Whether the clip runs: while the dialog waits for the user, not after an answer.
  bool ClipRunning() const { return Animate1.Playing(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Animate Animate1;
  Label Label1;  // heading
  Label Label2;  // "Version:"
  Label Label3;  // the version text
  SpeedButton SpeedButton1, SpeedButton2;

  void FormActivate();
  void ReportFailure();

  MainWindowHost& main_;
  UniqueFont heading_, bold_;
};

}  // namespace holvex
