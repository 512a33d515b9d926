#pragma once
// The program's version as the update check sends it and the about box shows it.
#include <string>

namespace holvex {

// The file version of the running executable's version resource, as four decimal numbers
// joined by "." (major.minor.release.build).
std::string ProgramVersionText();

}  // namespace holvex
