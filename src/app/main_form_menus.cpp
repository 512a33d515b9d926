// The main window's menu bar and the queue's context menu, and the commands' state shown on them.
#include "app/main_form.h"
#include "toolkit/application.h"

namespace holvex {

void TForm1::CreateMenus() {
  MainMenu1.Create(*this, Menu::Kind::Bar);
  HMENU datei = MainMenu1.AddSubmenu("&Datei");
  HMENU neu = MainMenu1.AddSubmenu("&Neu", datei);
  MainMenu1.AddItem(Downloadhinzufgen1, "&Download hinzufügen", neu);
  MainMenu1.AddItem(Speichern1, "&Speichern...", datei);
  MainMenu1.AddSeparator(datei);
  HMENU importieren = MainMenu1.AddSubmenu("&Importieren", datei);
  MainMenu1.AddItem(extdatei1, "...aus &Textdatei", importieren);
  MainMenu1.AddSeparator(datei);
  MainMenu1.AddItem(Beenden1, "&Beenden", datei);

  HMENU einstellungen = MainMenu1.AddSubmenu("&Einstellungen");
  MainMenu1.AddItem(Allgemeines1, "&Allgemeines", einstellungen);
  MainMenu1.AddItem(ProxyServer1, "&Proxy-Server", einstellungen);
  MainMenu1.AddSeparator(einstellungen);
  MainMenu1.AddItem(MitWindowsstarten1, "Mit Windows &starten", einstellungen);

  HMENU warteschleife = MainMenu1.AddSubmenu("&Warteschleife");
  HMENU aufraeumen = MainMenu1.AddSubmenu("&Aufräumen", warteschleife);
  MainMenu1.AddItem(fertigeDownloadsentfernen1, "...fertige D&ownloads entfernen", aufraeumen);
  MainMenu1.AddItem(fehlerhafteDownloadsentfernen1, "...fehlerhafte Downloads entfernen", aufraeumen);
  MainMenu1.AddItem(Verwerfen1, "&Verwerfen", warteschleife);

  HMENU hilfe = MainMenu1.AddSubmenu("&?");
  MainMenu1.AddItem(Informationen1, "Informationen", hilfe);
  MainMenu1.AddSeparator(hilfe);
  MainMenu1.AddItem(Fehlerbericht1, "&Fehlerbericht", hilfe);
  MainMenu1.AddItem(Homepage1, "&Homepage besuchen", hilfe);
  MainMenu1.AddSeparator(hilfe);
  MainMenu1.AddItem(AufUpdateprfen1, "&Auf Update prüfen", hilfe);
  DrawMenuBar(hwnd());
  StyleMainMenu();

  PopupMenu1.Create(*this, Menu::Kind::Popup);
  PopupMenu1.AddItem(Hinzufgen1, "&Hinzufügen");
  PopupMenu1.AddItem(Lschen1, "&Entfernen");
  PopupMenu1.AddSeparator();
  HMENU status = PopupMenu1.AddSubmenu("&Status");
  PopupMenu1.AddItem(Wartend1, "&Wartend", status);
  PopupMenu1.AddItem(Fertig1, "&Fertig", status);
  PopupMenu1.AddSeparator();
  PopupMenu1.AddItem(Dateiffnen1, "&Datei öffnen");
}

void TForm1::ConnectHandlers() {
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  SpeedButton3.OnClick = [this] { SpeedButton3Click(); };
  SpeedButton4.OnClick = [this] { SpeedButton4Click(); };
  ListView1.OnDblClick = [this] { ListView1DblClick(); };
  ListView1.OnEditing = [this](size_t row) { return ListView1Editing(row); };
  ListView1.OnEdited = [this](size_t, const std::string& name) { ListView1Edited(name); };
  Downloadhinzufgen1.OnClick = [this] { Downloadhinzufgen1Click(); };
  Speichern1.OnClick = [this] { Speichern1Click(); };
  extdatei1.OnClick = [this] { extdatei1Click(); };
  Beenden1.OnClick = [this] { Beenden1Click(); };
  Allgemeines1.OnClick = [this] { Allgemeines1Click(); };
  ProxyServer1.OnClick = [this] { ProxyServer1Click(); };
  fertigeDownloadsentfernen1.OnClick = [this] { fertigeDownloadsentfernen1Click(); };
  fehlerhafteDownloadsentfernen1.OnClick = [this] { fehlerhafteDownloadsentfernen1Click(); };
  Verwerfen1.OnClick = [this] { Verwerfen1Click(); };
  Informationen1.OnClick = [this] { Informationen1Click(); };
  Fehlerbericht1.OnClick = [this] { Fehlerbericht1Click(); };
  Homepage1.OnClick = [this] { Homepage1Click(); };
  AufUpdateprfen1.OnClick = [this] { AufUpdateprfen1Click(); };
  Hinzufgen1.OnClick = [this] { Hinzufgen1Click(); };
  Lschen1.OnClick = [this] { Lschen1Click(); };
  Wartend1.OnClick = [this] { Wartend1Click(); };
  Fertig1.OnClick = [this] { Fertig1Click(); };
  Dateiffnen1.OnClick = [this] { Dateiffnen1Click(); };
  OpenDialog1.OnClose = [this] { OpenDialog1Close(); };
  OnCloseQuery = [this] { return FormCloseQuery(); };
}

void TForm1::StartupComplete() {
  session_.EndStartup();
  ApplyCommandState();
  RunWaitingCommands();
}

void TForm1::Invoke(Command command, const std::function<void()>& action) {
  switch (session_.Request(command, ModalWindowOpen(), action)) {
    case Use::kNow:
      action();
      break;
    case Use::kBehindDialog:
      SetForegroundWindow(GetLastActivePopup(hwnd()));
      break;
    case Use::kLater:
    case Use::kRefused:
      break;
  }
}

void TForm1::RunWaitingCommands() {
  // Once the program is ending (an exit that waited), nothing more begins.
  while (!Application::Instance().Terminated())
    if (std::function<void()> command = session_.TakeDueCommand(ModalWindowOpen()))
      command();
    else
      break;
}

void TForm1::ApplyCommandState() {
  // How a command is shown does not depend on an open dialog: the dialog's loop does not change it.
  auto on = [this](Command c) { return session_.StateOf(c, false).enabled; };
  SpeedButton1.SetEnabled(on(Command::kAdd));
  Downloadhinzufgen1.SetEnabled(on(Command::kAdd));
  Hinzufgen1.SetEnabled(on(Command::kAdd));
  SpeedButton2.SetEnabled(on(Command::kRemove));
  Lschen1.SetEnabled(on(Command::kRemove));
  SpeedButton3.SetEnabled(on(Command::kStart));
  SpeedButton4.SetEnabled(on(Command::kCancel));
  Downloadstarten1.SetEnabled(on(Command::kTrayStart));
  Downloadabbrechen1.SetEnabled(on(Command::kTrayCancel));
  extdatei1.SetEnabled(on(Command::kImport));
  Beenden1.SetEnabled(on(Command::kExit));
  Allgemeines1.SetEnabled(on(Command::kGeneral));
  ProxyServer1.SetEnabled(on(Command::kProxy));
  Speichern1.SetEnabled(on(Command::kSave));
  Informationen1.SetEnabled(on(Command::kAbout));
  AufUpdateprfen1.SetEnabled(on(Command::kUpdate));
  // Disabled without greying, as the system menu's Close of a busy window is.
  EnableMenuItem(GetSystemMenu(hwnd(), FALSE), SC_CLOSE,
                 MF_BYCOMMAND | (on(Command::kClose) ? MF_ENABLED : MF_DISABLED));
}

}  // namespace holvex
