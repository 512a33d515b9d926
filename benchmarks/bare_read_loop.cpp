#include "bare_read_loop.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

namespace holvex::bench {

long long Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

double Seconds(long long from, long long to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to - from) / static_cast<double>(f.QuadPart);
}

double BareLoop(const std::string& url, const std::string& path, unsigned long long* bytes) {
  long long start = Now();
  HINTERNET root = InternetOpenA("Holvex 2004", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET request =
      InternetOpenUrlA(root, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  static char block[4096];
  DWORD read = 0;
  *bytes = 0;
  while (request && InternetReadFile(request, block, sizeof block, &read) && read > 0) {
    DWORD written = 0;
    WriteFile(file, block, read, &written, nullptr);
    *bytes += read;
  }
  CloseHandle(file);
  if (request) InternetCloseHandle(request);
  InternetCloseHandle(root);
  return Seconds(start, Now());
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace holvex::bench
