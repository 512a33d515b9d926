#pragma once
// The main window: the download queue with its commands, the status log and the status bar.
#include <functional>
#include <memory>
#include <string>

#include "app/single_instance.h"
#include "net/http_client.h"
#include "queue/download_queue.h"
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

// Centres the next message box over the main window (posted just before the box is shown).
inline constexpr UINT WM_MSGBOX_CENTER = WM_USER + 1024;

struct MainFormOptions {
  std::string baseDir;  // where load.hvq and load.ini live: the executable's folder
  std::string instanceName = kInstanceSemaphoreName;
};

class TForm9;

class TForm1 : public Form {
 public:
  explicit TForm1(MainFormOptions options);

  // "hh:mm:ss: " + message, appended to the status log.
  void AddLogLine(const std::string& message);
  // A message box centred over this window; returns the button pressed.
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

  DownloadQueue& Queue() { return queue_; }
  const GeneralSettings& Settings() const { return settings_; }
  void SetSettings(const GeneralSettings& s) { settings_ = s; }
  const ProxySettings& Proxy() const { return proxy_; }
  std::string QueueFilePath() const;
  std::string SettingsFilePath() const;

  // State shared with the dialogs.
  std::string PendingUrl;
  std::string MsgBoxCaption;
  bool ExitRequested = false;

  // Called by the entry sequence once every window exists. Until then a close request is
  // refused: the save dialog that every exit goes through does not exist yet.
  void StartupComplete() { startupComplete_ = true; }

  // The dialogs are created after this window; the entry sequence connects them here.
  // A command whose dialog does not exist yet does nothing.
  std::function<void()> showAddDialog, showSaveDialog, showImportDialog, showGeneralSettings,
      showProxySettings, showAbout, showUpdateCheck;

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
  void LockCommands(bool running);
  bool TransferEntry(EntryId id);
  void PrepareExtraWindow(const QueueEntry& entry);
  void SetCurrentStatus(const std::string& status);
  void ShowExtraWindow();
  void HideExtraWindow();
  void ClearPanels();
  void Transfer1FileStart();
  void Transfer1CopyProgress(int size, int totsize);
  void Transfer1FileDone();
  void Transfer1CopyDone();
  void Transfer1ConnectError();
  void Transfer1Error(int errorCode);
  void Transfer1URLNotFound();
  void Transfer1CopyCancel();
  void ReportFailure(const std::string& logLine);
  void OpenWithShell(const char* target, HWND owner, const char* params, int show);

  MainFormOptions options_;
  std::unique_ptr<SingleInstance> instance_;
  DownloadQueue queue_;
  GeneralSettings settings_;
  ProxySettings proxy_;
  bool startupComplete_ = false;
  TForm9* extra_ = nullptr;
  DWORD lastProgressView_ = 0;
};

}  // namespace holvex
