// Every input the queue-file and link-file fuzzers kept runs again here, natively and under Wine.
#include "support/corpus_replay.h"

#include <gtest/gtest.h>

#include "queue/queue_fuzz_drivers.h"

namespace holvex {
namespace {

TEST(FuzzCorpus, QueueFilesReadWriteAndReadBackWithoutFault) {
  EXPECT_GT(test::ReplayCorpus(HOLVEX_QUEUE_CORPUS "/queue_file", fuzz::ReplayQueueFile), 10u);
}

TEST(FuzzCorpus, LinkFilesSplitWithoutFault) {
  EXPECT_GT(test::ReplayCorpus(HOLVEX_QUEUE_CORPUS "/link_file", fuzz::ReplayLinkFile), 10u);
}

}  // namespace
}  // namespace holvex
