#include "transfer/internet_error_text.h"

#include <windows.h>

namespace holvex {

std::string InternetErrorText(std::uint32_t code) {
  HMODULE wininet = GetModuleHandleA("wininet.dll");
  if (!wininet) return {};
  char text[256] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, wininet, code, 0,
                           text, sizeof text, nullptr);
  return n ? std::string(text) : std::string();
}

}  // namespace holvex
