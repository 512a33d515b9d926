#pragma once
// An error that ends a transfer run: it leaves TTransferEngine::Execute and reaches its caller.
#include <stdexcept>
#include <string>

namespace holvex {

class TransferError : public std::runtime_error {
 public:
  explicit TransferError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace holvex
