#pragma once
// The FTP routines of TTransferEngine, items tkFtp and tkFtpUpload: one object per item. The
// download is in ftp_download.cpp, the upload in ftp_upload.cpp, what both use in
// ftp_transfer.cpp.
//
// Where they are stricter than a transfer that merely stops:
// - the result is True only when the transfer ran to its end: the download's last read gave
//   0 bytes (and at least the listed size arrived, when the server listed one: a listing
//   gives a symbolic link's own length, and a file may grow after it was listed); the upload
//   handed every byte of the file to the server and the server took the file's end;
// - every failure after the connection says why, through OnError and OnErrorInfo: a step the
//   server left unanswered with kErrorFtpNoAnswer, a broken one with WinInet's number; only
//   a folder or file the server refused is OnURLNotFound;
// - a remote folder that cannot be entered fails the item, so the same name is never taken
//   from, or put into, the login folder instead;
// - the upload opens its local file before the remote one: opening the remote file for
//   writing already empties it.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "transfer/copy_loop.h"
#include "transfer/ftp_connection.h"
#include "transfer/transfer_engine.h"

namespace holvex {

class FtpTransfer;

// The remote end of the block loop: the open remote file, read by a download, written by an
// upload. A step that fails closes the connection.
class FtpBlocks : public BlockSource, public BlockSink {
 public:
  explicit FtpBlocks(FtpTransfer& transfer, std::optional<std::uint64_t> listedSize = std::nullopt)
      : transfer_(transfer), listedSize_(listedSize) {}
  bool Next(const char** data, DWORD* bytes, TTransferOutcome& failure) override;
  bool Whole(std::uint64_t done, TTransferOutcome& failure) override;
  bool Put(const char* data, DWORD size, TTransferOutcome& failure) override;
  bool Finish(TTransferOutcome& failure) override;

 private:
  // number: the failure's own WinInet number, else the step's.
  bool Failed(StepResult step, TTransferOutcome& failure, DWORD number = 0);

  FtpTransfer& transfer_;
  const std::optional<std::uint64_t> listedSize_;
};

class FtpTransfer {
 public:
  FtpTransfer(TTransferEngine& engine, int idx, const TTransferItem& item, TDateTime& workingDate,
              bool& noNewFile);
  FtpTransfer(const FtpTransfer&) = delete;
  FtpTransfer& operator=(const FtpTransfer&) = delete;

  bool Download();
  bool Upload();

 private:
  void SetFileLine(const std::string& direction);
  bool Connect();
  // Runs the date check on the listed date: false skips the item.
  bool DateAllows(const FILETIME& listed, const std::string& name);
  void NotFound(const std::string& text);
  // Reports why a step did not succeed (a stop is a cancel: nothing to report), closes the
  // connection and returns false.
  bool Fail(StepResult step);
  // Why a step did not succeed; none for a cancel.
  std::optional<TTransferOutcome> FailureOf(StepResult step) const;
  void SetOpenPaths(const std::string& file);
  bool EnterFolder(const std::string& folder);

  friend class FtpBlocks;
  TTransferEngine& engine_;
  const int idx_;
  const TTransferItem& item_;
  TDateTime& workingDate_;
  bool& noNewFile_;
  const WaitPolicy wait_;
  FtpConnection ftp_;
};

}  // namespace holvex
