#pragma once
// The one block loop of every transfer (download, upload, copy): blocks from a source to a sink,
// with the pumps, the progress report, the cancel check and the check that the whole arrived,
// in TTransferEngine::CopyBlocks. A source or sink that fails says why in `failure`; the loop
// reports it as the item's failure. The kinds differ only in the data of a CopyPlan.
#include <windows.h>

#include <cstdint>
#include <string>

#include "transfer/transfer_items.h"

namespace holvex {

// A failure told through OnError and OnErrorInfo.
TTransferOutcome ErrorFailure(int code, const std::string& text);
// A failure of WinInet (or of the connection beneath, with WinSock's number) and its text.
TTransferOutcome InternetFailure(DWORD number);

class BlockSource {
 public:
  virtual ~BlockSource() = default;
  // The next block; *bytes 0 at the end. False: it failed (failure says why; a cancel leaves it
  // unset).
  virtual bool Next(const char** data, DWORD* bytes, TTransferOutcome& failure) = 0;
  // After the end: whether `done` bytes are the whole.
  virtual bool Whole(std::uint64_t done, TTransferOutcome& failure) = 0;
};

class BlockSink {
 public:
  virtual ~BlockSink() = default;
  // Takes every byte of the block, or fails.
  virtual bool Put(const char* data, DWORD size, TTransferOutcome& failure) = 0;
  // After the whole: whether the other side took it.
  virtual bool Finish(TTransferOutcome&) { return true; }
};

struct CopyPlan {
  const std::string* verb = nullptr;  // DlgDownload, DlgUpload or DlgCopying, for the caption
  DWORD blockSize = 4096;             // the source's block: 4096 on the network, 16384 for a copy
  std::uint64_t total = 0;            // 0: not known
  // An upload ends with the first block shorter than a whole one (a file whose size is a
  // multiple of the block ends with one of 0 bytes); the others end with a block of 0 bytes.
  bool endsWithShortBlock = false;
  // A listing's size may be short of the file's (a symbolic link's own length, a file that grew):
  // past it the total is not known.
  bool totalMayBeShort = false;
  DWORD startTick = 0;  // the rate counts from here
};

}  // namespace holvex
