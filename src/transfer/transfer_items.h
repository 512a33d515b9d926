#pragma once
// The transfer list of TTransferEngine: what to transfer, and the results a run leaves.
#include <memory>
#include <string>
#include <vector>

#include "transfer/date_time.h"

namespace holvex {

class TTransferEngine;

enum TTransferKind { tkHttp, tkFtp, tkFile, tkFtpUpload, tkHttpUpload };
enum TTransferHttpVerb { hcPost, hcPut };

// How an item's transfer ended. The engine raises its failure events from it, and a caller
// needs nothing else to know what happened.
struct TTransferOutcome {
  enum Kind { kDone, kFailed, kCancelled, kSkipped };
  // How a failure is told: OnError and OnErrorInfo (code, text), OnURLNotFound (text), OnConnectError,
  // or no event at all.
  enum Report { kError, kUrlNotFound, kConnectError, kUnreported };
  Kind kind = kFailed;
  Report report = kUnreported;
  int code = 0;
  std::string text;
};

struct TTransferItem {
  std::string URL;
  std::string TargetDir;
  std::string TargetFilename;  // empty: the last segment of URL
  TTransferKind Protocol = tkHttp;
  TTransferHttpVerb HTTPCommand = hcPost;
  std::string FTPHost;
  std::string FTPUserID;
  std::string FTPPassword;
  int FTPPort = 21;
  bool Active = true;
  bool CopyNewerOnly = false;
  TDateTime FileDate = 0;
  // Set by the run.
  TTransferOutcome Outcome;
  bool Copied = false;  // Outcome.kind == kDone
  bool NoNewFile = false;
  TDateTime NewFileDate = 0;
};

class TTransferItems {
 public:
  explicit TTransferItems(TTransferEngine* owner) : owner_(owner) {}
  TTransferItems(const TTransferItems&) = delete;
  TTransferItems& operator=(const TTransferItems&) = delete;

  TTransferEngine* Owner() const { return owner_; }

  // The new item stays at its address until it is removed.
  TTransferItem& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TTransferItem& operator[](int index) { return *items_.at(static_cast<size_t>(index)); }
  const TTransferItem& operator[](int index) const { return *items_.at(static_cast<size_t>(index)); }
  void Delete(int index);
  void Clear() { items_.clear(); }
  int ActiveCount() const;

  // Brackets a batch of changes; nothing observes the list meanwhile.
  void BeginUpdate() { ++updateDepth_; }
  void EndUpdate() {
    if (updateDepth_ > 0) --updateDepth_;
  }
  bool Updating() const { return updateDepth_ > 0; }

 private:
  TTransferEngine* owner_;
  std::vector<std::unique_ptr<TTransferItem>> items_;
  int updateDepth_ = 0;
};

}  // namespace holvex
