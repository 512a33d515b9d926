#pragma once
// The general dialog: the [allgemein] section of load.ini and the program's in-memory
// general settings.
#include "settings/settings.h"
#include "toolkit/check_box.h"
#include "toolkit/edit.h"
#include "toolkit/folder_picker.h"
#include "toolkit/form.h"
#include "toolkit/icon_image.h"
#include "toolkit/label.h"
#include "toolkit/open_dialog.h"
#include "toolkit/speed_button.h"

namespace holvex {

class MainWindowHost;

class TForm8 : public Form {
 public:
  // Fills the controls from the settings file.
  explicit TForm8(MainWindowHost& main);

  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();

 private:
  IconImage Image1;
  Label Label1;              // what the dialog is for
  CheckBox CheckBox1;        // "playwav"
  Edit Edit2;                // "wavfile"
  SpeedButton SpeedButton3;  // browse for the WAV file
  CheckBox CheckBox5;        // "splashscreen"
  CheckBox CheckBox3;        // "autostart"
  CheckBox CheckBox2;        // "status"
  CheckBox CheckBox4;        // "systemtray"
  Label Label2;              // "Downloadverzeichnis"
  Edit Edit1;                // "downloadfolder"
  SpeedButton SpeedButton1;  // browse for the folder
  SpeedButton SpeedButton4;  // "Schliessen"
  SpeedButton SpeedButton2;  // "Speichern"
  OpenDialog OpenDialog1;    // WAV files
  FolderPicker FolderPicker1;

  void CreateControls();
  void FormCreate();
  GeneralSettings ControlValues() const;

  MainWindowHost& main_;
};

}  // namespace holvex
