#pragma once
// The modal text-input box: a caption, a prompt, a field, OK and "Abbrechen".
#include <string>

namespace holvex {

// Shows the box with `value` in the field; true and the new text in `value` on OK.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

}  // namespace holvex
