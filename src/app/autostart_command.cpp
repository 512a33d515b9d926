#include "app/autostart_command.h"

namespace holvex {

std::string AutostartCommand(const std::string& executablePath) {
  if (executablePath.find(' ') == std::string::npos) return executablePath;
  return "\"" + executablePath + "\"";
}

}  // namespace holvex
