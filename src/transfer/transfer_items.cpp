#include "transfer/transfer_items.h"

#include <algorithm>

namespace holvex {

TTransferItem& TTransferItems::Add() {
  items_.push_back(std::make_unique<TTransferItem>());
  return *items_.back();
}

void TTransferItems::Delete(int index) {
  items_.at(static_cast<size_t>(index));  // range check
  items_.erase(items_.begin() + index);
}

int TTransferItems::ActiveCount() const {
  return static_cast<int>(
      std::count_if(items_.begin(), items_.end(), [](const auto& item) { return item->Active; }));
}

}  // namespace holvex
