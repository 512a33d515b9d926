#pragma once
// The command line the autostart entry holds for the program.
#include <string>

namespace holvex {

// The executable's path, quoted when it holds a blank: unquoted, "C:\Program Files\..." would
// first be tried as C:\Program.exe.
std::string AutostartCommand(const std::string& executablePath);

}  // namespace holvex
