#pragma once
// What the add and import dialogs share: a tool window without title text or buttons, a small
// looping clip, a bold heading, an italic status line, the file-name and size rows and a bar
// that only shows activity. They do their work when shown and close themselves by timer.
#include <string>

#include "toolkit/animate.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"
#include "toolkit/timer.h"

namespace holvex {

class MainWindowHost;

class BusyDialog : public Form {
 protected:
  Animate Animate1;
  Label Label1;  // heading
  Label Label2;  // status line
  Label Label3;  // "Dateiname"
  Label Label4;  // its value
  Label Label5;  // "Größe"
  Label Label6;  // its value
  ProgressBar ProgressBar1;
  Timer Timer1;  // progress: shows activity only
  Timer Timer2;  // close, once the work is done

  BusyDialog(MainWindowHost& main, const char* className, int clientHeight, const std::string& heading,
             const std::string& status, UINT progressMs, UINT closeMs);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The whole work, run once per opening when the dialog has been shown.
  virtual void FormActivate() = 0;
  void SetStatus(const std::string& text);
  void Pump();
  void RepaintNow();

  MainWindowHost& main_;

 private:
  void Timer1Timer();
  void Timer2Timer();

  UniqueFont bold_, italic_, heading_;
};

}  // namespace holvex
