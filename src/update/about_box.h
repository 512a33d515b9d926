#pragma once
// The about box: the program's picture, its version, the credit and the contact line. A click
// anywhere but on the contact line closes it.
#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/image.h"
#include "toolkit/label.h"

namespace holvex {

class MainWindowHost;

class TForm6 : public Form {
 public:
  explicit TForm6(MainWindowHost& main);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Image Image1;
  Label Label1;  // the credit
  Label Label2;  // "Version"
  Label Label3;  // the version text
  Label Label4;  // the contact address: takes its own clicks, so they close nothing

  void PlaceLabels();

  MainWindowHost& main_;
  UniqueFont bold_, italic_;
  bool pressed_ = false;  // a click is a press and a release, both on the box
};

}  // namespace holvex
