#pragma once
// Local path texts of the transfers. Windows paths: "\" separates, a drive ends in ":".
#include <string>
#include <string_view>

namespace holvex {

// The text after the last "/" and after the last "\" (a query stays part of it).
std::string UrlFileName(std::string_view urlOrPath);

// name alone for an empty directory; one "\" between the two otherwise.
std::string JoinPath(std::string_view directory, std::string_view name);

// Up to and including the last "\" (empty when there is none).
std::string DirectoryPart(std::string_view path);

// The enclosing folder: up to and including the last "\" or ":". The caller has removed a
// trailing "\" first, so that "C:\a\b" gives "C:\a\".
std::string ParentDirectory(std::string_view directory);

// Windows' device names (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$), also with an
// extension or trailing dots and blanks: opening such a "file" opens the device.
bool IsReservedDeviceName(std::string_view name);

// A name that may become a local file: not empty, not "." or "..", no device name, and none
// of the characters Windows refuses in a name (":" would also open an alternate data stream).
bool IsUsableFileName(std::string_view name);

}  // namespace holvex
