#pragma once
// The proxy dialog: the [proxy] section of load.ini, and the proxy that the HTTP client and
// the transfer engine use.
#include "settings/settings.h"
#include "toolkit/edit.h"
#include "toolkit/form.h"
#include "toolkit/icon_image.h"
#include "toolkit/label.h"
#include "toolkit/speed_button.h"

namespace holvex {

class MainWindowHost;

class TForm7 : public Form {
 public:
  // Fills the fields from the settings file and hands their values to the program.
  explicit TForm7(MainWindowHost& main);

  void SpeedButton1Click();
  void SpeedButton2Click();

 private:
  IconImage Image1;
  Label Label1;                          // what the dialog is for
  Label Label2, Label3, Label4, Label5;  // the fields' names
  Edit Edit1;                            // "Server / IP-Adresse"
  Edit Edit2;                            // "Port"
  Edit Edit3;                            // "Benutzer"
  Edit Edit4;                            // "Passwort"
  SpeedButton SpeedButton1;              // "Schliessen"
  SpeedButton SpeedButton2;              // "Speichern"

  void CreateControls();
  void FormCreate();
  ProxySettings FieldValues() const;

  MainWindowHost& main_;
};

}  // namespace holvex
