#include "settings/settings_dialog.h"

#include "host/main_window_host.h"

namespace holvex {

FormParams SettingsDialogParams(const char* className, const char* caption, int clientHeight) {
  FormParams p;
  p.className = className;
  p.caption = caption;
  p.clientWidth = 313;
  p.clientHeight = clientHeight;
  p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  p.exStyle = WS_EX_TOOLWINDOW;
  p.fontPoints = 8;  // Arial, 11 pixels on a 96-dpi screen
  p.dialogKeys = true;
  return p;
}

void FinishSave(MainWindowHost& main, Form& dialog, const std::string& dialogCaption) {
  main.AddLogLine("Speicherung erfolgreich. \"" + dialogCaption + "\"");
  main.MainForm().ShowMessageBox("Ihre Einstellungen wurden gespeichert !", "Bestätigung",
                                 MB_OK | MB_ICONINFORMATION);
  dialog.SetModalResult(IDOK);
  dialog.Close();
}

}  // namespace holvex
