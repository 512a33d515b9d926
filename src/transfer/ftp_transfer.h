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

#include "transfer/ftp_connection.h"
#include "transfer/transfer_engine.h"

namespace holvex {

class InputFile;
class OutputFile;

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
  bool FailBrokenOff();
  void SetOpenPaths(const std::string& file);

  bool Receive(OutputFile& file, const std::string& target, std::optional<std::uint64_t> listedSize);
  bool CreateTarget(OutputFile& file, const std::string& target);
  bool EnterFolder(const std::string& folder);
  bool Send(InputFile& file);

  TTransferEngine& engine_;
  const int idx_;
  const TTransferItem& item_;
  TDateTime& workingDate_;
  bool& noNewFile_;
  const WaitPolicy wait_;
  FtpConnection ftp_;
};

}  // namespace holvex
