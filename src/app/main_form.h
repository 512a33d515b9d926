#pragma once
// The main window: the download queue with its commands, the status log and the status bar.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/autostart.h"
#include "app/single_instance.h"
#include "app/tray_icon.h"
#include "host/main_window_host.h"
#include "run/run_view.h"
#include "session/program_session.h"
#include "toolkit/form.h"
#include "toolkit/list_box.h"
#include "toolkit/list_view.h"
#include "toolkit/memo.h"
#include "toolkit/menu.h"
#include "toolkit/open_dialog.h"
#include "toolkit/page_control.h"
#include "toolkit/speed_button.h"
#include "toolkit/status_bar.h"
#include "ui/menu_styler.h"

namespace holvex {

struct MainFormOptions {
  std::string instanceName = kInstanceSemaphoreName;
  // Where the autostart entry lives: the machine's Run key.
  std::shared_ptr<RunKey> runKey = std::make_shared<RunKey>();
  // Called instead of ending the process when another instance runs (tests); creation then
  // stops there.
  std::function<void()> onAnotherInstance = nullptr;
};

class TForm9;

class TForm1 : public Form, public MainWindowHost, private RunView {
 public:
  // Shows the session; both live until the program ends.
  TForm1(ProgramSession& session, MainFormOptions options);
  ~TForm1() override;

  // What the dialogs and components reach: the session's state, this window's log and list.
  Form& MainForm() override { return *this; }
  void AddLogLine(const std::string& message) override;
  DownloadQueue& Queue() override { return session_.Queue(); }
  std::string QueueFilePath() const override { return session_.QueueFilePath(); }
  QueueStore& QueueFile() override { return session_.QueueFile(); }
  std::string SettingsFilePath() const override { return session_.SettingsFilePath(); }
  const GeneralSettings& Settings() const override { return session_.Settings(); }
  void ApplySettings(const GeneralSettings& settings) override { session_.ApplySettings(settings); }
  const ProxySettings& Proxy() const override { return session_.Proxy(); }
  void ApplyProxy(const ProxySettings& proxy) override { session_.ApplyProxy(proxy); }
  THttpClient& HttpClient() override { return session_.HttpClient(); }
  void SuspendQueueView() override { ListView1.BeginUpdate(); }
  void ResumeQueueView() override { ListView1.EndUpdate(); }

  // Called by the entry sequence once every window exists. A command or close request that came
  // earlier (the save dialog every exit goes through did not exist yet) and the automatic run
  // are carried out now.
  void StartupComplete();

  // The dialogs are created after this window; the entry sequence connects them here.
  std::function<void(const std::string& url)> showAddDialog;
  std::function<bool()> showSaveDialog;  // true when the queue was saved
  std::function<void()> showGeneralSettings, showProxySettings, showAbout, showUpdateCheck;
  std::function<void(const std::string& linkFile)> showImportDialog;

  // The extra progress window, created after this one.
  void SetExtraWindow(TForm9* window);

  // Command handlers, named after control and event. What each may do now is the session's word.
  void SpeedButton1Click() {
    Invoke(Command::kAdd, [this] { AddDownload(); });
  }
  void Hinzufgen1Click() { SpeedButton1Click(); }
  void Downloadhinzufgen1Click() { SpeedButton1Click(); }
  void SpeedButton2Click() {
    Invoke(Command::kRemove, [this] { RemoveSelected(false); });
  }
  void Lschen1Click() {
    Invoke(Command::kRemove, [this] { RemoveSelected(true); });
  }
  void SpeedButton3Click() {
    Invoke(Command::kStart, [this] { session_.Run().Start(); });
  }
  void SpeedButton4Click() {
    Invoke(Command::kCancel, [this] { session_.Run().Cancel(); });
  }
  static bool IsOnline() { return DownloadRun::IsOnline(); }
  void Wartend1Click();
  void Fertig1Click();
  void Dateiffnen1Click();
  void ListView1DblClick() { Dateiffnen1Click(); }
  void fertigeDownloadsentfernen1Click();
  void fehlerhafteDownloadsentfernen1Click();
  void Verwerfen1Click();
  void Speichern1Click() {
    Invoke(Command::kSave, [this] { SaveQueue(); });
  }
  void extdatei1Click() {
    Invoke(Command::kImport, [this] { ImportLinks(); });
  }
  void Allgemeines1Click() {
    Invoke(Command::kGeneral, [this] { ShowDialog(showGeneralSettings); });
  }
  void ProxyServer1Click() {
    Invoke(Command::kProxy, [this] { ShowDialog(showProxySettings); });
  }
  void Informationen1Click() {
    Invoke(Command::kAbout, [this] { ShowDialog(showAbout); });
  }
  void AufUpdateprfen1Click() {
    Invoke(Command::kUpdate, [this] { ShowDialog(showUpdateCheck); });
  }
  void Homepage1Click();
  void Fehlerbericht1Click();
  void Beenden1Click() {
    Invoke(Command::kExit, [this] { ExitIfConfirmed(); });
  }
  bool FormCloseQuery();

  // The tray icon, the window state and the autostart entry.
  void TrayIcon1DblClick() { Fensterwiderherstellen1Click(); }
  void Fensterwiderherstellen1Click();
  void Downloadstarten1Click() {
    Invoke(Command::kTrayStart, [this] { session_.Run().Start(); });
  }
  void Downloadabbrechen1Click() {
    Invoke(Command::kTrayCancel, [this] { session_.Run().Cancel(); });
  }
  void MitWindowsstarten1Click();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // What the run shows.
  void ReportOffline() override;
  void RunStateChanged() override;
  void PrepareEntry(const std::string& fileName, const std::string& source,
                    const std::string& folder) override;
  void ShowExtraWindow(bool shown) override;
  void ShowProgress(const ProgressTexts& texts) override;
  void ClearPanels() override;

  // The command runs now, waits in the session, or is refused (then an open dialog comes to the
  // front, as for a click behind it).
  void Invoke(Command command, const std::function<void()>& action);
  // Shows every command's controls as the session's state says: the one place that does.
  void ApplyCommandState();
  // Runs the waiting commands that may run now (posted, so never nested where they waited).
  void RunWaitingCommands();
  bool ModalWindowOpen() const;
  static void ShowDialog(const std::function<void()>& dialog) {
    if (dialog) dialog();
  }

  // The file-name cell edited in place.
  bool ListView1Editing(size_t row);
  void ListView1Edited(const std::string& name);
  void OpenDialog1Close();

  void CreateControls();
  void CreateMenus();
  void StyleMainMenu();
  void ConnectHandlers();
  void BindQueueToList();
  void FormCreate();
  void AddDownload();
  void RemoveSelected(bool reportNoSelection);
  void SetSelectedStatus(const char* status);
  void SaveQueue();
  void ImportLinks();
  // The exit question, then the save; the program ends here once the queue was saved.
  bool ExitIfConfirmed();
  void OpenWithShell(const char* target, HWND owner, const char* params, int show);
  void CreateTrayMenu();
  void CreateTrayIcon();
  bool WMSysCommand(WPARAM command);
  void HideToTray();
  std::string UnreadQueueFileText(const std::string& reason) const;
  void ReportUnreadQueueFile(const std::string& reason);
  void ShowRejectedName();
  void WMEndSession(bool ending);

  // Posted when a typed file name was refused: the box waits until the edit has ended.
  static constexpr UINT WM_NAME_REJECTED = WM_APP + 2;
  // Posted when commands wait and the state they waited for may have passed.
  static constexpr UINT WM_RUN_WAITING = WM_APP + 3;

  SpeedButton SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4;
  ListView ListView1;
  PageControl PageControl1;
  TabSheet* TabSheet1 = nullptr;
  Memo Memo1;
  StatusBar StatusBar1;
  ListBox ListBox1;
  OpenDialog OpenDialog1;

  Menu MainMenu1;
  MenuItem Downloadhinzufgen1, Speichern1, extdatei1, Beenden1;
  MenuItem Allgemeines1, ProxyServer1, MitWindowsstarten1;
  MenuItem fertigeDownloadsentfernen1, fehlerhafteDownloadsentfernen1, Verwerfen1;
  MenuItem Informationen1, Fehlerbericht1, Homepage1, AufUpdateprfen1;
  Menu PopupMenu1;
  MenuItem Hinzufgen1, Lschen1, Wartend1, Fertig1, Dateiffnen1;
  Menu PopupMenu2;  // the tray icon's menu
  MenuItem Downloadstarten1, Downloadabbrechen1, Fensterwiderherstellen1;
  // Made once this is the only instance, so that a second one never shows an icon.
  std::unique_ptr<TTrayIcon> TrayIcon1;
  TMenuStyler MenuStyler1{*this};  // after the menus: it unhooks them before they go

  ProgramSession& session_;
  MainFormOptions options_;
  std::unique_ptr<SingleInstance> instance_;
  TForm9* extra_ = nullptr;
  EntryId editedEntry_ = 0;   // the row whose name is being edited, by identity
  std::string rejectedName_;  // a typed name that was refused, shown once the edit has ended
};

}  // namespace holvex
