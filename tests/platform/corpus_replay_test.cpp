// Every input the INI fuzzer kept runs again here, natively and under Wine.
#include "support/corpus_replay.h"

#include <gtest/gtest.h>

#include "platform/ini_fuzz_driver.h"

namespace holvex {
namespace {

TEST(FuzzCorpus, IniTextsSetWriteAndReadBackWithoutFault) {
  EXPECT_GT(test::ReplayCorpus(HOLVEX_PLATFORM_CORPUS "/ini_document", fuzz::ReplayIniText), 10u);
}

}  // namespace
}  // namespace holvex
