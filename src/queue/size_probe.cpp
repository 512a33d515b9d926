#include "queue/size_probe.h"

#include <cstdlib>

#include "net/http_client.h"

namespace holvex {

std::string ProbeSize(THttpClientBase& client, std::string_view url) {
  try {
    client.ProbeHead(url);
    return std::to_string(client.Response().ContentLength);
  } catch (...) {
    return "0";
  }
}

long long ProbeResultBytes(const std::string& result) {
  char* end = nullptr;
  long long value = std::strtoll(result.c_str(), &end, 10);
  return (end && *end == '\0' && !result.empty()) ? value : 0;
}

}  // namespace holvex
