#include "run/entry_transfer.h"
#include "transfer/transfer_engine.h"

namespace holvex {

TTransferOutcome EngineTransfer::Fetch(const std::string& url, const std::string& folder,
                                       const std::string& fileName) {
  engine_.Items.BeginUpdate();
  engine_.Items.Clear();
  TTransferItem& item = engine_.Items.Add();
  item.URL = url;
  item.TargetDir = folder;
  item.TargetFilename = fileName;
  engine_.Items.EndUpdate();
  engine_.Execute();
  // A handler may have emptied the list meanwhile.
  return engine_.Items.Count() > 0 ? engine_.Items[0].Outcome : TTransferOutcome{};
}

void EngineTransfer::Cancel() { engine_.CancelCopy(); }

}  // namespace holvex
