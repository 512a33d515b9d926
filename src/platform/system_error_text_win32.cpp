#include <windows.h>

#include "platform/system_error_text.h"

namespace holvex {

std::string SystemErrorText(std::uint32_t code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result;
  if (n && text) result.assign(text, n);
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
    result.pop_back();
  if (result.empty()) result = "Fehler " + std::to_string(code);
  return result;
}

}  // namespace holvex
