#include "platform/file_io.h"

namespace holvex {

FileWriteError::FileWriteError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

}  // namespace holvex
