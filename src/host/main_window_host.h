#pragma once
// What the main window offers the dialogs and components around it: the window to centre over
// (and its centred message boxes), its log, and the session's queue, settings and HTTP client.
// Dialogs and components depend on this, never on the main window itself. What a dialog needs
// for one opening it is given as an argument, and what came of it it returns.
#include <string>

namespace holvex {

class DownloadQueue;
class Form;
class QueueStore;
class THttpClient;
struct GeneralSettings;
struct ProxySettings;

class MainWindowHost {
 public:
  // The window dialogs centre over and are owned by; its ShowMessageBox centres over it.
  virtual Form& MainForm() = 0;
  // "hh:mm:ss: " + message, appended to the status log.
  virtual void AddLogLine(const std::string& message) = 0;

  virtual DownloadQueue& Queue() = 0;
  virtual std::string QueueFilePath() const = 0;
  // The queue file's restore and saves (it keeps a file that could not be read at start).
  virtual QueueStore& QueueFile() = 0;
  virtual std::string SettingsFilePath() const = 0;

  // The in-memory settings; Apply* makes new values take effect in the running program.
  virtual const GeneralSettings& Settings() const = 0;
  virtual void ApplySettings(const GeneralSettings& settings) = 0;
  virtual const ProxySettings& Proxy() const = 0;
  virtual void ApplyProxy(const ProxySettings& proxy) = 0;

  // The size probes and the update query.
  virtual THttpClient& HttpClient() = 0;

  // Stops the queue's list from painting while many rows change (see QueueViewLock).
  virtual void SuspendQueueView() = 0;
  virtual void ResumeQueueView() = 0;

 protected:
  MainWindowHost() = default;
  ~MainWindowHost() = default;
  MainWindowHost(const MainWindowHost&) = delete;
  MainWindowHost& operator=(const MainWindowHost&) = delete;
};

// The queue's list paints once, when the last lock ends.
class QueueViewLock {
 public:
  explicit QueueViewLock(MainWindowHost& host) : host_(host) { host_.SuspendQueueView(); }
  ~QueueViewLock() { host_.ResumeQueueView(); }
  QueueViewLock(const QueueViewLock&) = delete;
  QueueViewLock& operator=(const QueueViewLock&) = delete;

 private:
  MainWindowHost& host_;
};

}  // namespace holvex
