// Every input the fuzzers kept runs again here, natively and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "net/fuzz_drivers.h"

namespace holvex {
namespace {

namespace fs = std::filesystem;

template <typename Driver>
size_t ReplayFolder(const char* name, Driver driver) {
  size_t count = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(HOLVEX_NET_CORPUS) / name)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    driver(bytes);
    ++count;
  }
  return count;
}

TEST(FuzzCorpus, ServerBytesReplayWithoutFault) {
  EXPECT_GT(ReplayFolder("http_response", fuzz::ReplayServerBytes), 10u);
}

TEST(FuzzCorpus, UrlTextsReplayWithoutFault) { EXPECT_GT(ReplayFolder("url", fuzz::ReplayUrlText), 10u); }

}  // namespace
}  // namespace holvex
