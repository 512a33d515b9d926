#include "settings/general_dialog.h"

#include "host/main_window_host.h"
#include "resource_ids.h"
#include "settings/settings_dialog.h"

namespace holvex {

namespace {
constexpr const char* kCaption = "Allgemeine Einstellungen";
}  // namespace

TForm8::TForm8(MainWindowHost& main) : Form(SettingsDialogParams("TForm8", kCaption, 274)), main_(main) {
  CreateControls();
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  SpeedButton3.OnClick = [this] { SpeedButton3Click(); };
  SpeedButton4.OnClick = [this] { SpeedButton4Click(); };
  OnShow = [this] {
    CenterOver(main_.MainForm());
    SetFocus(CheckBox1.hwnd());
  };

  OpenDialog1.Filter = "WAV-Dateien [*.wav]|*.wav";
  OpenDialog1.NoPlacesBar = true;
  FolderPicker1.Title = "Bitte wählen Sie ein Download Verzeichnis aus.";
  FolderPicker1.Root = "c:\\";
  FolderPicker1.Flags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  FormCreate();
}

void TForm8::CreateControls() {
  Image1.Create(hwnd(), Rect{12, 10, 32, 32}, IDI_SETTINGS_GENERAL);
  Label1.Create(hwnd(), Rect{56, 10, 245, 30},
                "Hier können Sie dem Holvex Manager ihre persöhnlichen Einstellungen vergeben.");
  CheckBox1.Create(hwnd(), Rect{12, 50, 289, 17}, "Bei erfolgreichem Download, diese Melodie abspielen");
  Edit2.Create(hwnd(), Rect{12, 70, 265, 21});
  SpeedButton3.Create(hwnd(), Rect{280, 70, 21, 21}, "", IDI_GLYPH_FOLDER);
  CheckBox5.Create(hwnd(), Rect{12, 102, 289, 17}, "Splashscreen beim Start anzeigen");
  CheckBox3.Create(hwnd(), Rect{12, 121, 289, 17}, "Downloads automatisch beginnen");
  CheckBox2.Create(hwnd(), Rect{12, 140, 289, 17}, "Downloadstatus in extra Fenster anzeigen");
  CheckBox4.Create(hwnd(), Rect{12, 159, 289, 17}, "Start in Systemtray (Icon neben der Systemuhr)");
  Label2.Create(hwnd(), Rect{12, 185, 265, 14}, "Downloadverzeichnis");
  Edit1.Create(hwnd(), Rect{12, 200, 265, 21});
  SpeedButton1.Create(hwnd(), Rect{280, 200, 21, 21}, "", IDI_GLYPH_FOLDER);
  SpeedButton4.Create(hwnd(), Rect{12, 237, 97, 25}, "Schliessen", IDI_GLYPH_CANCEL);
  SpeedButton2.Create(hwnd(), Rect{204, 237, 97, 25}, "Speichern", IDI_GLYPH_SAVE);
}

void TForm8::FormCreate() {
  GeneralSettings s = ReadGeneralSettings(SettingsFile(main_.SettingsFilePath()).Load());
  CheckBox1.SetChecked(s.playwav);
  CheckBox2.SetChecked(s.status);
  CheckBox3.SetChecked(s.autostart);
  CheckBox4.SetChecked(s.systemtray);
  CheckBox5.SetChecked(s.splashscreen);
  Edit1.SetText(s.downloadfolder);
  Edit2.SetText(s.wavfile);
}

GeneralSettings TForm8::ControlValues() const {
  GeneralSettings s;
  s.playwav = CheckBox1.Checked();
  s.status = CheckBox2.Checked();
  s.autostart = CheckBox3.Checked();
  s.systemtray = CheckBox4.Checked();
  s.splashscreen = CheckBox5.Checked();
  s.downloadfolder = Edit1.Text();
  s.wavfile = Edit2.Text();
  return s;
}

void TForm8::SpeedButton1Click() {
  if (std::optional<std::string> folder = FolderPicker1.Execute(hwnd())) Edit1.SetText(*folder);
}

// Written in one step and applied only once written: a refused write changes neither the file
// nor the program, and the dialog stays open (the error goes to the default error report).
void TForm8::SpeedButton2Click() {
  const GeneralSettings s = ControlValues();
  WriteGeneralSettings(SettingsFile(main_.SettingsFilePath()), s);
  main_.ApplySettings(s);
  FinishSave(main_, *this, kCaption);
}

void TForm8::SpeedButton3Click() {
  if (OpenDialog1.Execute(hwnd())) Edit2.SetText(OpenDialog1.FileName);
}

void TForm8::SpeedButton4Click() { Close(); }

}  // namespace holvex
