#pragma once
// TTransferEngine: a non-visual component that transfers a list of items one after another
// on the caller's (GUI) thread, keeps the windows alive by processing their messages at
// fixed points, reports through events and can show a progress dialog of its own.
//
// Errors raised inside a transfer (TransferError, DateConversionError, ...) leave Execute.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "transfer/async_wait.h"
#include "transfer/date_time.h"
#include "transfer/transfer_items.h"

namespace holvex {

class BlockSink;
class BlockSource;
class FtpTransfer;
class InternetSession;
struct CopyPlan;
class ProgressDialog;
class Request;
class Window;

class TTransferEngine;
using TTransferFileStart = std::function<void(TTransferEngine& Sender, int idx)>;
using TTransferFileDone = std::function<void(TTransferEngine& Sender, int idx)>;
// size and totsize in bytes, 64-bit: files of 2 GiB and more are common.
using TTransferProgress =
    std::function<void(TTransferEngine& Sender, int fileidx, std::int64_t size, std::int64_t totsize)>;
using TTransferDone = std::function<void(TTransferEngine& Sender)>;
using TTransferCancel = std::function<void(TTransferEngine& Sender)>;
using TTransferError = std::function<void(TTransferEngine& Sender, int ErrorCode)>;
using TTransferErrorInfo =
    std::function<void(TTransferEngine& Sender, int ErrorCode, const std::string& ErrorInfo)>;
using TTransferUrlNotFound = std::function<void(TTransferEngine& Sender, const std::string& url)>;
using TTransferConnectError = std::function<void(TTransferEngine& Sender)>;
using TTransferOverwrite =
    std::function<void(TTransferEngine& Sender, const std::string& tgtfile, bool& allow)>;
using TTransferFileDateCheck =
    std::function<void(TTransferEngine& Sender, int idx, TDateTime newdate, bool& allow)>;
using TTransferNoNewFile = std::function<void(TTransferEngine& Sender, const std::string& tgtfile,
                                              TDateTime curdate, TDateTime newdate)>;

inline constexpr char kUserAgent[] = "Holvex 2004";

// OnError's own codes; HTTP statuses and WinInet's numbers come as they are.
inline constexpr int kErrorIdenticalFiles = 0;
inline constexpr int kErrorOpenSource = 1;
inline constexpr int kErrorZeroLengthSource = 2;
inline constexpr int kErrorCreateTarget = 3;
inline constexpr int kErrorReadSource = 4;
inline constexpr int kErrorWriteTarget = 5;
inline constexpr int kErrorConnect = 6;
// An FTP server that stopped answering within StallTimeoutMs once connected.
inline constexpr int kErrorFtpNoAnswer = 7;
// A file that an HTTP upload cannot declare.
inline constexpr int kErrorUploadTooLarge = 8;

class TTransferEngine {
 public:
  explicit TTransferEngine(Window* owner = nullptr);
  ~TTransferEngine();
  TTransferEngine(const TTransferEngine&) = delete;
  TTransferEngine& operator=(const TTransferEngine&) = delete;

  // Runs every active item; returns when all were processed or the run was cancelled.
  void Execute();
  // The running transfer stops at its next block; Execute stops after the current item.
  void CancelCopy() { cancel_ = true; }

  Window* Owner() const { return owner_; }
  std::string Name;
  int Tag = 0;

  // Published properties, with the defaults of a new component.
  bool AlwaysOnTop = false;
  std::string DlgCancel = "Cancel";
  std::string DlgCaption = "Downloading";
  std::string DlgCompleted = "completed";
  std::string DlgFileLabel = "File :";
  std::string DlgFileOfLabel = "of";
  std::string DlgFromServerLabel = "from";
  std::string DlgToServerLabel = "to";
  std::string DlgProgressLabel = "Progress :";
  std::string DlgRateLabel = "Transfer rate :";
  std::string DlgTimeLabel = "Estimated time left :";
  std::string DlgCopying = "Copying";
  std::string DlgDownload = "Downloading";
  std::string DlgUpload = "Uploading";
  std::string DlgOpenFile = "Open file";
  std::string DlgOpenFolder = "Open folder";
  bool FTPPassive = false;
  TTransferItems Items{this};
  std::string Proxy;
  // Given to a proxy that asks for them, and to nobody else.
  std::string ProxyUserID;
  std::string ProxyPassword;
  bool ShowDialog = true;
  bool ShowOpenFile = false;
  bool ShowOpenFolder = false;
  bool ShowCompletion = false;
  bool ShowTime = false;

  TTransferFileStart OnFileStart;
  TTransferFileDone OnFileDone;
  TTransferProgress OnCopyProgress;
  TTransferDone OnCopyDone;
  TTransferCancel OnCopyCancel;
  TTransferError OnError;
  TTransferErrorInfo OnErrorInfo;
  TTransferUrlNotFound OnURLNotFound;
  TTransferConnectError OnConnectError;
  TTransferOverwrite OnCopyOverWrite;
  TTransferFileDateCheck OnFileDateCheck;
  TTransferNoNewFile OnNoNewFileFound;

  // Longest wait for a network step (connecting, the answer, each block) before the item is
  // given up as failed. Also set as WinInet's own timeouts.
  DWORD StallTimeoutMs = 30000;

  // The dialog of the current or last run while it exists; for tests and tools.
  ProgressDialog* Dialog() const { return dialog_; }

 private:
  friend class FtpTransfer;  // the FTP download and upload

  void BuildDialog();
  void EndDialog();
  void RunItem(int idx);
  bool RunRoutine(int idx, const TTransferItem& item, TDateTime& workingDate, bool& noNewFile);
  bool NeedsInternet() const;
  bool DownloadUrl(int idx, const TTransferItem& item, TDateTime& workingDate, bool& noNewFile);
  bool OpenDownload(Request& request, const std::string& url);
  // The one block loop: true when the whole went from source to sink.
  bool CopyBlocks(BlockSource& source, BlockSink& sink, const CopyPlan& plan);
  // The target's path (TargetFilename, or name when it is empty), after the overwrite question;
  // none when the item is not to be written. createFolder: the folders on the way are made.
  std::optional<std::string> PrepareTarget(const TTransferItem& item, const std::string& name,
                                           bool createFolder);
  // The date check of CopyNewerOnly or OnFileDateCheck on the source's date: false skips the item.
  bool DateAllows(int idx, TDateTime newdate, const std::string& name, TDateTime& workingDate,
                  bool& noNewFile);
  // direction: DlgFromServerLabel or DlgToServerLabel.
  void SetFileLine(const std::string& name, const std::string& direction, const std::string& host);
  // verb: DlgDownload or DlgUpload, for the caption.
  void ReportBlock(const std::string& verb, std::uint64_t done, std::uint64_t total,
                   const std::string& totalText, DWORD startTick);
  // " of " and the total, the same for every block of an item.
  std::string TotalText(std::uint64_t total) const;
  // File copy (tkFile).
  bool CopyLocalFile(int idx, const TTransferItem& item, TDateTime& workingDate, bool& noNewFile);
  bool CopyFromSource(int idx, const TTransferItem& item, TDateTime& workingDate, bool& noNewFile);
  // HTTP upload (tkHttpUpload).
  bool UploadHttp(const TTransferItem& item);
  bool FinishUpload(Request& request, const WaitPolicy& wait);
  void ReportInternetError(DWORD number);
  // A failure of the current item, raised as its events once its routine has returned.
  void ReportError(int code, const std::string& text);
  void Report(TTransferOutcome::Report how, int code, const std::string& text);
  void Report(const TTransferOutcome& failure) { reports_.push_back(failure); }
  // The item is left as it is: no newer file, or a handler's veto. Returns false.
  bool Skip();
  TTransferOutcome OutcomeOf(bool result, bool noNewFile) const;
  void RaiseReports();
  void PumpMessages();
  // Within a block: after every block, or under Wine every few milliseconds
  // (wine::PumpIntervalMs).
  void PumpIfDue();
  bool StopWaiting() const;
  WaitPolicy NetworkWait();
  void ReleaseDialog(ProgressDialog* dialog);

  Window* owner_;
  bool cancel_ = false;
  bool skipped_ = false;
  std::vector<TTransferOutcome> reports_;  // the current item's failures, in order
  int fileCounter_ = 0;
  DWORD lastPump_ = 0;
  std::string decimal_ = ".";  // the locale's separator, read once per run
  std::unique_ptr<InternetSession> session_;
  std::string openFilePath_, openFolderPath_;
  // Every live dialog: the current run's, and those of earlier runs left open for their
  // Open buttons.
  std::vector<std::unique_ptr<ProgressDialog>> dialogs_;
  ProgressDialog* dialog_ = nullptr;
};

}  // namespace holvex
