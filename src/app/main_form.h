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
#include "net/http_client.h"
#include "queue/download_queue.h"
#include "queue/queue_store.h"
#include "run/download_run.h"
#include "settings/settings.h"
#include "toolkit/form.h"
#include "toolkit/list_box.h"
#include "toolkit/list_view.h"
#include "toolkit/memo.h"
#include "toolkit/menu.h"
#include "toolkit/open_dialog.h"
#include "toolkit/page_control.h"
#include "toolkit/speed_button.h"
#include "toolkit/status_bar.h"
#include "transfer/transfer_engine.h"
#include "ui/menu_styler.h"

namespace holvex {

struct MainFormOptions {
  std::string baseDir;  // where load.hvq and load.ini live: the executable's folder
  std::string instanceName = kInstanceSemaphoreName;
  // Where the autostart entry lives: the machine's Run key.
  std::shared_ptr<RunKey> runKey = std::make_shared<RunKey>();
  // Called instead of ending the process when another instance runs (tests); creation then
  // stops there.
  std::function<void()> onAnotherInstance = nullptr;
  // Longest silence of a server before its download is given up.
  DWORD stallTimeoutMs = 30000;
};

class TForm9;

class TForm1 : public Form, public MainWindowHost, private RunView {
 public:
  explicit TForm1(MainFormOptions options);
  ~TForm1() override;

  // What the dialogs and components reach.
  Form& MainForm() override { return *this; }
  void AddLogLine(const std::string& message) override;
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) override;
  DownloadQueue& Queue() override { return queue_; }
  std::string QueueFilePath() const override;
  QueueStore& QueueFile() override { return queueStore_; }
  std::string SettingsFilePath() const override;
  const GeneralSettings& Settings() const override { return settings_; }
  void ApplySettings(const GeneralSettings& settings) override;
  const ProxySettings& Proxy() const override { return proxy_; }
  void ApplyProxy(const ProxySettings& proxy) override;
  THttpClient& HttpClient() override { return HttpClient1; }
  void SuspendQueueView() override { ListView1.BeginUpdate(); }
  void ResumeQueueView() override { ListView1.EndUpdate(); }

  // Called by the entry sequence once every window exists. A command or close request that came
  // earlier (the save dialog every exit goes through did not exist yet) is carried out now.
  void StartupComplete();

  // The dialogs are created after this window; the entry sequence connects them here.
  std::function<void()> showAddDialog, showSaveDialog, showGeneralSettings, showProxySettings, showAbout,
      showUpdateCheck;
  std::function<void(const std::string& linkFile)> showImportDialog;

  // The extra progress window, created after this one.
  void SetExtraWindow(TForm9* window);

  // The download run.
  void SpeedButton3Click() { run_.Start(); }
  void SpeedButton4Click() { run_.Cancel(); }
  static bool IsOnline() { return DownloadRun::IsOnline(); }

  // Command handlers, named after control and event.
  void SpeedButton1Click() { AddDownload(); }
  void Hinzufgen1Click() { AddDownload(); }
  void Downloadhinzufgen1Click() { AddDownload(); }
  void SpeedButton2Click();
  void Lschen1Click();
  void Wartend1Click();
  void Fertig1Click();
  void Dateiffnen1Click();
  void ListView1DblClick() { Dateiffnen1Click(); }
  void fertigeDownloadsentfernen1Click();
  void fehlerhafteDownloadsentfernen1Click();
  void Verwerfen1Click();
  void Speichern1Click();
  void extdatei1Click();
  void Homepage1Click();
  void Fehlerbericht1Click();
  void Beenden1Click();
  bool FormCloseQuery();

  // The tray icon, the window state and the autostart entry.
  void TrayIcon1DblClick() { Fensterwiderherstellen1Click(); }
  void Fensterwiderherstellen1Click();
  void Downloadstarten1Click();
  void Downloadabbrechen1Click();
  void MitWindowsstarten1Click();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // What the run shows.
  void ReportOffline() override;
  void LockCommands(bool running) override;
  void PrepareEntry(const std::string& fileName, const std::string& source,
                    const std::string& folder) override;
  void ShowExtraWindow(bool shown) override;
  void ShowProgress(const ProgressTexts& texts) override;
  void ClearPanels() override;

  // The engine's events, passed to the run.
  void Transfer1FileStart() { run_.FileStarted(); }
  void Transfer1CopyProgress(std::int64_t size, std::int64_t totsize) { run_.Progress(size, totsize); }
  void Transfer1FileDone() { run_.FileDone(); }
  void Transfer1CopyDone() { run_.CopyDone(); }
  void Transfer1ConnectError() { run_.ConnectFailed(); }
  void Transfer1Error(int errorCode) { run_.Failed(errorCode); }
  void Transfer1URLNotFound() { run_.NotFound(); }
  void Transfer1CopyCancel() { run_.CopyCancelled(); }

  // The file-name cell edited in place.
  bool ListView1Editing(size_t row);
  void ListView1Edited(const std::string& name);
  void OpenDialog1Close();

  void CreateControls();
  void CreateMenus();
  void StyleMainMenu();
  void ConnectHandlers();
  // The command runs now, or once start-up has ended when it needs what is not there yet.
  std::function<void()> AfterStartup(const char* name, std::function<void()> command);
  void BindQueueToList();
  void FormCreate();
  void AddDownload();
  void SetSelectedStatus(const char* status);
  void CenterMessageBox();
  void ApplyProxyToHttpClient();
  void ConfigureTransfer();
  void ApplyProxyToTransfer();
  void OpenWithShell(const char* target, HWND owner, const char* params, int show);
  void CreateTrayMenu();
  void CreateTrayIcon();
  bool WMSysCommand(WPARAM command);
  void HideToTray();
  void LockTrayCommands(bool running);
  bool RunCommandRefused();
  std::string UnreadQueueFileText(const std::string& reason) const;
  void ReportUnreadQueueFile(const std::string& reason);
  void ShowRejectedName();
  void WMEndSession(bool ending);

  // Posted when a typed file name was refused: the box waits until the edit has ended.
  static constexpr UINT WM_NAME_REJECTED = WM_APP + 2;

  SpeedButton SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4;
  ListView ListView1;
  PageControl PageControl1;
  TabSheet* TabSheet1 = nullptr;
  Memo Memo1;
  StatusBar StatusBar1;
  ListBox ListBox1;
  OpenDialog OpenDialog1;

  THttpClient HttpClient1;  // the size probes and the update query
  TTransferEngine Transfer1{this};

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

  MainFormOptions options_;
  QueueStore queueStore_;
  std::unique_ptr<SingleInstance> instance_;
  DownloadQueue queue_;
  GeneralSettings settings_;
  ProxySettings proxy_;
  EngineTransfer transfer_{Transfer1};
  DownloadRun run_{queue_, transfer_, settings_, *this};
  bool startupComplete_ = false;
  // Commands that came during start-up, by name, each once, in the order they came.
  std::vector<std::pair<std::string, std::function<void()>>> startupCommands_;
  bool closeRequestedDuringStartup_ = false;
  bool exitQuestionOpen_ = false;
  TForm9* extra_ = nullptr;
  EntryId editedEntry_ = 0;   // the row whose name is being edited, by identity
  std::string rejectedName_;  // a typed name that was refused, shown once the edit has ended
};

}  // namespace holvex
