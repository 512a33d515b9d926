#include "transfer/file_blocks.h"

#include <algorithm>

#include "transfer/transfer_engine.h"
#include "transfer/transfer_error.h"

namespace holvex {

FileBlockSource::FileBlockSource(SourceFile& file, std::string path, DWORD blockSize, ReadFailure onFailure,
                                 std::optional<std::uint64_t> limit)
    : file_(file), path_(std::move(path)), block_(blockSize), onFailure_(onFailure), limit_(limit) {}

bool FileBlockSource::Next(const char** data, DWORD* bytes, TTransferOutcome& failure) {
  *data = block_.data();
  DWORD want = static_cast<DWORD>(block_.size());
  if (limit_) want = static_cast<DWORD>(std::min<std::uint64_t>(want, *limit_ - read_));
  if (!file_.Read(block_.data(), want, bytes)) {
    if (onFailure_ == ReadFailure::kRaised) throw TransferError("Error reading file " + path_);
    failure = ErrorFailure(kErrorReadSource, "Error reading source file " + path_);
    return false;
  }
  read_ += *bytes;
  return true;
}

bool FileBlockSource::Whole(std::uint64_t done, TTransferOutcome& failure) {
  if (!limit_ || done == *limit_) return true;
  failure = ErrorFailure(kErrorReadSource, "Error reading source file " + path_);
  return false;
}

TargetFileSink::TargetFileSink(std::string path, std::string createText, WriteFailure onFailure)
    : path_(std::move(path)), createText_(std::move(createText)), onFailure_(onFailure) {}

bool TargetFileSink::Create(TTransferOutcome& failure) {
  created_ = file_.Open(path_);
  if (!created_) failure = ErrorFailure(kErrorCreateTarget, createText_ + path_);
  return created_;
}

bool TargetFileSink::Put(const char* data, DWORD size, TTransferOutcome& failure) {
  if (!created_ && !Create(failure)) return false;
  // A short write (a full disk, a quota) fails like a refused one: the target lacks bytes.
  if (file_.WriteAll(data, size)) return true;
  if (onFailure_ == WriteFailure::kRaised) throw TransferError("Error writing to file " + path_);
  failure = ErrorFailure(kErrorWriteTarget, "Error writing to destination file " + path_);
  return false;
}

bool TargetFileSink::Finish(TTransferOutcome& failure) { return created_ || Create(failure); }

}  // namespace holvex
