#pragma once
// The lines of a link file: cut at CR, LF and CR LF; a line end at the very end adds no empty
// line; a zero byte ends the text; lines are kept verbatim.
#include <string>
#include <string_view>
#include <vector>

namespace holvex {

std::vector<std::string> SplitLinkFileLines(std::string_view text);

}  // namespace holvex
