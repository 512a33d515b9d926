// The main window's tray icon and menu, minimising into the tray and the autostart entry.
#include <cstring>

#include "app/autostart_command.h"
#include "app/main_form.h"
#include "platform/file_io.h"

namespace holvex {

namespace {

BOOL CALLBACK NoteModalWindow(HWND w, LPARAM found) {
  if (!IsWindowVisible(w)) return TRUE;
  auto* form = dynamic_cast<Form*>(Window::FromHandle(w));
  char className[16] = {};
  GetClassNameA(w, className, sizeof className);
  if ((form && form->IsModal()) || std::strcmp(className, "#32770") == 0) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

// A modal window of the program is open: a form shown modally, or a message box or file
// dialog of this thread (a box may belong to another window than the main one).
bool TForm1::ModalWindowOpen() const {
  if (!IsWindowEnabled(hwnd())) return true;
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), NoteModalWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

void TForm1::CreateTrayMenu() {
  PopupMenu2.Create(*this, Menu::Kind::Popup);
  PopupMenu2.AddItem(Downloadstarten1, "Download &starten");
  PopupMenu2.AddItem(Downloadabbrechen1, "Download abbre&chen");
  PopupMenu2.AddSeparator();
  PopupMenu2.AddItem(Fensterwiderherstellen1, "&Fenster widerherstellen");
  Downloadabbrechen1.SetEnabled(false);
  Fensterwiderherstellen1.SetEnabled(false);

  Downloadstarten1.OnClick = [this] { Downloadstarten1Click(); };
  Downloadabbrechen1.OnClick = [this] { Downloadabbrechen1Click(); };
  Fensterwiderherstellen1.OnClick = [this] { Fensterwiderherstellen1Click(); };
  MitWindowsstarten1.OnClick = [this] { MitWindowsstarten1Click(); };
}

void TForm1::CreateTrayIcon() {
  TrayIcon1 = std::make_unique<TTrayIcon>();
  TrayIcon1->PopupMenu = &PopupMenu2;
  TrayIcon1->OnDblClick = [this](TTrayIcon&) { TrayIcon1DblClick(); };
}

bool TForm1::WMSysCommand(WPARAM command) {
  // The low four bits belong to the system.
  if ((command & 0xFFF0) != SC_MINIMIZE) return false;
  HideToTray();
  return true;
}

void TForm1::HideToTray() {
  if (Visible()) Hide();
  Fensterwiderherstellen1.SetEnabled(true);
}

void TForm1::Fensterwiderherstellen1Click() {
  if (!Visible()) Show();
  Fensterwiderherstellen1.SetEnabled(false);
}

void TForm1::MitWindowsstarten1Click() {
  // A change the registry refuses throws: the error box shows it and the mark stays.
  RunKey& key = *options_.runKey;
  if (AutostartEntryExists(key, kAutostartValueName)) {
    RemoveAutostartEntry(key, kAutostartValueName);
    MitWindowsstarten1.SetChecked(false);
  } else {
    AddAutostartEntry(key, kAutostartValueName, AutostartCommand(ExecutablePath()));
    MitWindowsstarten1.SetChecked(true);
  }
}

}  // namespace holvex
