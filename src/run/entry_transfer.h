#pragma once
// What a download run needs of the transfer engine: one entry's file fetched into a folder, told
// by one outcome, and a way to stop it. Meanwhile the engine's events reach the run through the
// window that owns both (FileStarted, Progress, Failed, ...).
#include <string>

#include "transfer/transfer_items.h"

namespace holvex {

class TTransferEngine;

class EntryTransfer {
 public:
  // Fetches url into folder\fileName; returns how that ended.
  virtual TTransferOutcome Fetch(const std::string& url, const std::string& folder,
                                 const std::string& fileName) = 0;
  // The fetch in progress stops at its next look.
  virtual void Cancel() = 0;

 protected:
  EntryTransfer() = default;
  ~EntryTransfer() = default;
  EntryTransfer(const EntryTransfer&) = delete;
  EntryTransfer& operator=(const EntryTransfer&) = delete;
};

// The engine as the run uses it: one item per entry, one Execute each.
class EngineTransfer final : public EntryTransfer {
 public:
  explicit EngineTransfer(TTransferEngine& engine) : engine_(engine) {}
  TTransferOutcome Fetch(const std::string& url, const std::string& folder,
                         const std::string& fileName) override;
  void Cancel() override;

 private:
  TTransferEngine& engine_;
};

}  // namespace holvex
