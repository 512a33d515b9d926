#pragma once
// The main window: the download queue with its commands, the status log and the status bar.
#include <functional>
#include <memory>
#include <string>

#include "app/autostart.h"
#include "app/single_instance.h"
#include "app/tray_icon.h"
#include "host/main_window_host.h"
#include "net/http_client.h"
#include "queue/download_queue.h"
#include "queue/queue_store.h"
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
};

class TForm9;

class TForm1 : public Form, public MainWindowHost {
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

  // Called by the entry sequence once every window exists. Until then a close request is
  // refused: the save dialog that every exit goes through does not exist yet.
  void StartupComplete() {
    startupComplete_ = true;
    LockTrayCommands(DownloadRunning);
  }

  // The dialogs are created after this window; the entry sequence connects them here.
  // A command whose dialog does not exist yet does nothing.
  std::function<void()> showAddDialog, showSaveDialog, showGeneralSettings, showProxySettings, showAbout,
      showUpdateCheck;
  std::function<void(const std::string& linkFile)> showImportDialog;

  // The extra progress window, created after this one.
  void SetExtraWindow(TForm9* window);

  // The download run.
  void SpeedButton3Click();
  void SpeedButton4Click();
  static bool IsOnline();
  bool DownloadRunning = false;
  EntryId CurrentEntry = 0;  // the entry being transferred, by identity, not by row
  std::string CurrentFileName;
  DWORD StartTick = 0;

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
  // The file-name cell edited in place.
  bool ListView1Editing(size_t row);
  void ListView1Edited(const std::string& name);
  void fertigeDownloadsentfernen1Click();
  void fehlerhafteDownloadsentfernen1Click();
  void Verwerfen1Click();
  void Speichern1Click();
  void extdatei1Click();
  void OpenDialog1Close();
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

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void CreateMenus();
  void StyleMainMenu();
  void ConnectHandlers();
  void BindQueueToList();
  void FormCreate();
  void AddDownload();
  void SetSelectedStatus(const char* status);
  void CenterMessageBox();
  void ApplyProxyToHttpClient();
  void ConfigureTransfer();
  void ApplyProxyToTransfer();
  void LockCommands(bool running);
  bool TransferEntry(EntryId id);
  void PrepareExtraWindow(const QueueEntry& entry);
  void SetCurrentStatus(const std::string& status);
  bool CurrentEntryEnded() const;
  void ShowExtraWindow();
  void HideExtraWindow();
  void ClearPanels();
  void Transfer1FileStart();
  void Transfer1CopyProgress(std::int64_t size, std::int64_t totsize);
  void Transfer1FileDone();
  void Transfer1CopyDone();
  void Transfer1ConnectError();
  void Transfer1Error(int errorCode);
  void Transfer1URLNotFound();
  void Transfer1CopyCancel();
  void ReportFailure(const std::string& logLine);
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

  MainFormOptions options_;
  QueueStore queueStore_;
  std::unique_ptr<SingleInstance> instance_;
  DownloadQueue queue_;
  GeneralSettings settings_;
  ProxySettings proxy_;
  bool startupComplete_ = false;
  TForm9* extra_ = nullptr;
  DWORD lastProgressView_ = 0;
  EntryId editedEntry_ = 0;   // the row whose name is being edited, by identity
  std::string rejectedName_;  // a typed name that was refused, shown once the edit has ended
};

}  // namespace holvex
