#pragma once
// The Unix side of a Wine test: what a Windows program cannot do to a file there, such as
// making a symbolic link, or cutting short a file that another handle holds open.
#include <string>

namespace holvex::test {

// The Unix path of a Windows path, through Wine's own export; throws std::runtime_error
// outside Wine.
std::string UnixPath(const std::string& windowsPath);

// Runs a Unix program (a Windows path such as "Z:\\bin\\ln", then its arguments) without
// waiting: Wine gives no handle to wait on. The caller watches for the outcome.
void StartUnixProgram(const std::string& commandLine);

}  // namespace holvex::test
