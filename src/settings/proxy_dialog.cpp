#include "settings/proxy_dialog.h"

#include "host/main_window_host.h"
#include "net/http_errors.h"
#include "resource_ids.h"
#include "settings/settings_dialog.h"

namespace holvex {

namespace {
constexpr const char* kCaption = "Proxy Einstellungen";
constexpr char kPasswordChar = '\x95';  // "•" in the ANSI code page
}  // namespace

TForm7::TForm7(MainWindowHost& main) : Form(SettingsDialogParams("TForm7", kCaption, 200)), main_(main) {
  CreateControls();
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  OnShow = [this] {
    CenterOver(main_.MainForm());
    SetFocus(Edit1.hwnd());
  };
  FormCreate();
}

void TForm7::CreateControls() {
  Image1.Create(hwnd(), Rect{12, 10, 32, 32}, IDI_SETTINGS_PROXY);
  Label1.Create(hwnd(), Rect{56, 8, 249, 54},
                "Hier müssen Sie Einstellungen vornehmen, wenn Sie über einen fremden Server ins Internet "
                "gelangen. Bei Fragen wenden Sie sich an ihren Administrator.");
  Label2.Create(hwnd(), Rect{12, 66, 193, 14}, "Server / IP-Adresse");
  Edit1.Create(hwnd(), Rect{12, 81, 193, 21});
  Label3.Create(hwnd(), Rect{220, 66, 81, 14}, "Port");
  Edit2.Create(hwnd(), Rect{220, 81, 81, 21});
  Label4.Create(hwnd(), Rect{12, 108, 137, 14}, "Benutzer");
  Edit3.Create(hwnd(), Rect{12, 123, 137, 21});
  Label5.Create(hwnd(), Rect{164, 108, 137, 14}, "Passwort");
  Edit4.Create(hwnd(), Rect{164, 123, 137, 21}, "", true);
  Edit4.SetPasswordChar(kPasswordChar);
  SpeedButton1.Create(hwnd(), Rect{12, 165, 97, 25}, "Schliessen", IDI_GLYPH_CANCEL);
  SpeedButton2.Create(hwnd(), Rect{204, 165, 97, 25}, "Speichern", IDI_GLYPH_SAVE);
}

// At program start: the fields from the file, then their values to the HTTP client (and,
// the same as the main window gave it, to the transfer engine). A port that is no number
// must not stop the start behind the splash screen: it counts as 0 and is logged.
void TForm7::FormCreate() {
  ProxySettings values = ReadProxySettings(SettingsFile(main_.SettingsFilePath()).Load());
  Edit1.SetText(values.server);
  Edit2.SetText(values.port);
  Edit3.SetText(values.username);
  Edit4.SetText(values.password);
  if (!ProxyPortNumber(values.port))
    main_.AddLogLine("Proxy Einstellungen: " + std::string(EConvertError(values.port).what()) +
                     ", Port 0 wird verwendet.");
  main_.ApplyProxy(values);
}

ProxySettings TForm7::FieldValues() const { return {Edit1.Text(), Edit2.Text(), Edit3.Text(), Edit4.Text()}; }

void TForm7::SpeedButton1Click() { Close(); }

// Checked first, written in one step, applied only once written: a bad port or a refused
// write changes neither the file nor the program, and the dialog stays open. The errors go
// to the program's default error report.
void TForm7::SpeedButton2Click() {
  const ProxySettings values = FieldValues();
  if (!ProxyPortNumber(values.port)) throw EConvertError(values.port);
  WriteProxySettings(SettingsFile(main_.SettingsFilePath()), values);
  main_.ApplyProxy(values);
  FinishSave(main_, *this, kCaption);
}

}  // namespace holvex
