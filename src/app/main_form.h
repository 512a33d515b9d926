#pragma once
// The main window: the download queue, the status log and the status bar.
#include <memory>
#include <string>

#include "app/single_instance.h"
#include "queue/download_queue.h"
#include "settings/settings.h"
#include "toolkit/form.h"
#include "toolkit/list_box.h"
#include "toolkit/list_view.h"
#include "toolkit/memo.h"
#include "toolkit/page_control.h"
#include "toolkit/status_bar.h"

namespace holvex {

struct MainFormOptions {
  std::string baseDir;  // where load.hvq and load.ini live: the executable's folder
  std::string instanceName = kInstanceSemaphoreName;
};

class TForm1 : public Form {
 public:
  explicit TForm1(MainFormOptions options);

  // "hh:mm:ss: " + message, appended to the status log.
  void AddLogLine(const std::string& message);

  DownloadQueue& Queue() { return queue_; }
  const GeneralSettings& Settings() const { return settings_; }
  const ProxySettings& Proxy() const { return proxy_; }
  std::string QueueFilePath() const;
  std::string SettingsFilePath() const;

  ListView ListView1;
  PageControl PageControl1;
  TabSheet* TabSheet1 = nullptr;
  Memo Memo1;
  StatusBar StatusBar1;
  ListBox ListBox1;

 private:
  void CreateControls();
  void BindQueueToList();
  void FormCreate();

  MainFormOptions options_;
  std::unique_ptr<SingleInstance> instance_;
  DownloadQueue queue_;
  GeneralSettings settings_;
  ProxySettings proxy_;
};

}  // namespace holvex
