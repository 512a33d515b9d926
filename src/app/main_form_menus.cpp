// The main window's menu bar and the queue's context menu.
#include "app/main_form.h"

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

std::function<void()> TForm1::AfterStartup(const char* name, std::function<void()> command) {
  return [this, name, command = std::move(command)] {
    if (startupComplete_) {
      command();
      return;
    }
    for (const auto& queued : startupCommands_)
      if (queued.first == name) return;
    startupCommands_.emplace_back(name, command);
  };
}

void TForm1::StartupComplete() {
  startupComplete_ = true;
  LockTrayCommands(run_.Running());
  auto commands = std::move(startupCommands_);
  startupCommands_.clear();
  for (auto& command : commands) command.second();
  if (closeRequestedDuringStartup_) {
    closeRequestedDuringStartup_ = false;
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
  }
}

void TForm1::ConnectHandlers() {
  // What needs a dialog, or must not run inside the restore of the queue, waits for the end of
  // start-up; the other commands work on what is there.
  SpeedButton1.OnClick = AfterStartup("add", [this] { SpeedButton1Click(); });
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  SpeedButton3.OnClick = AfterStartup("run", [this] { SpeedButton3Click(); });
  SpeedButton4.OnClick = [this] { SpeedButton4Click(); };
  ListView1.OnDblClick = [this] { ListView1DblClick(); };
  ListView1.OnEditing = [this](size_t row) { return ListView1Editing(row); };
  ListView1.OnEdited = [this](size_t, const std::string& name) { ListView1Edited(name); };
  Downloadhinzufgen1.OnClick = AfterStartup("add", [this] { Downloadhinzufgen1Click(); });
  Speichern1.OnClick = AfterStartup("save", [this] { Speichern1Click(); });
  extdatei1.OnClick = AfterStartup("import", [this] { extdatei1Click(); });
  Beenden1.OnClick = AfterStartup("exit", [this] { Beenden1Click(); });
  Allgemeines1.OnClick = AfterStartup("general", [this] {
    if (showGeneralSettings) showGeneralSettings();
  });
  ProxyServer1.OnClick = AfterStartup("proxy", [this] {
    if (showProxySettings) showProxySettings();
  });
  fertigeDownloadsentfernen1.OnClick = [this] { fertigeDownloadsentfernen1Click(); };
  fehlerhafteDownloadsentfernen1.OnClick = [this] { fehlerhafteDownloadsentfernen1Click(); };
  Verwerfen1.OnClick = [this] { Verwerfen1Click(); };
  Informationen1.OnClick = AfterStartup("about", [this] {
    if (showAbout) showAbout();
  });
  Fehlerbericht1.OnClick = [this] { Fehlerbericht1Click(); };
  Homepage1.OnClick = [this] { Homepage1Click(); };
  AufUpdateprfen1.OnClick = AfterStartup("update", [this] {
    if (showUpdateCheck) showUpdateCheck();
  });
  Hinzufgen1.OnClick = AfterStartup("add", [this] { Hinzufgen1Click(); });
  Lschen1.OnClick = [this] { Lschen1Click(); };
  Wartend1.OnClick = [this] { Wartend1Click(); };
  Fertig1.OnClick = [this] { Fertig1Click(); };
  Dateiffnen1.OnClick = [this] { Dateiffnen1Click(); };
  OpenDialog1.OnClose = [this] { OpenDialog1Close(); };
  OnCloseQuery = [this] { return FormCloseQuery(); };
}

}  // namespace holvex
