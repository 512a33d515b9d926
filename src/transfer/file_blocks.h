#pragma once
// The local ends of the block loop: a disk file read in blocks, and the target file, created or
// truncated with the first block (or at the end of an empty whole), so that a cancel or a failure
// before any byte arrived leaves a file of that name as it was.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "transfer/copy_loop.h"
#include "transfer/local_files.h"
#include "transfer/source_file.h"

namespace holvex {

class FileBlockSource : public BlockSource {
 public:
  // How a failed read ends the item: reported with kErrorReadSource, or as a TransferError that
  // ends the run.
  enum class ReadFailure { kReported, kRaised };
  // Reads at most `limit` bytes in all (an upload's declared length, should the file grow).
  FileBlockSource(SourceFile& file, std::string path, DWORD blockSize, ReadFailure onFailure,
                  std::optional<std::uint64_t> limit = std::nullopt);
  bool Next(const char** data, DWORD* bytes, TTransferOutcome& failure) override;
  // With a limit, the file must have given that much: one that shrank meanwhile is short.
  bool Whole(std::uint64_t done, TTransferOutcome& failure) override;

 private:
  SourceFile& file_;
  const std::string path_;
  std::vector<char> block_;
  const ReadFailure onFailure_;
  const std::optional<std::uint64_t> limit_;
  std::uint64_t read_ = 0;
};

class TargetFileSink : public BlockSink {
 public:
  // How a failed write ends the item: reported with kErrorWriteTarget, or as a TransferError.
  enum class WriteFailure { kReported, kRaised };
  // createText: the message of a target that cannot be created, before its path.
  TargetFileSink(std::string path, std::string createText, WriteFailure onFailure);
  bool Put(const char* data, DWORD size, TTransferOutcome& failure) override;
  // Creates the file of an empty whole.
  bool Finish(TTransferOutcome& failure) override;
  bool Created() const { return created_; }
  // Closes the file and deletes what it wrote.
  void Discard() { file_.Discard(); }
  void Close() { file_.Close(); }

 private:
  bool Create(TTransferOutcome& failure);

  const std::string path_, createText_;
  const WriteFailure onFailure_;
  OutputFile file_;
  bool created_ = false;
};

}  // namespace holvex
