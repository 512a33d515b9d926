#pragma once
// Runs every kept fuzzer input of one corpus folder through its driver (for the corpus replay
// tests of each folder); the count of inputs run.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace holvex::test {

template <typename Driver>
size_t ReplayCorpus(const std::filesystem::path& folder, Driver driver) {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    driver(bytes);
    ++count;
  }
  return count;
}

}  // namespace holvex::test
