#pragma once
// The autostart entry: a string value in the machine-wide Run key, which makes Windows start
// the program at logon.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace holvex {

inline constexpr const char* kAutostartValueName = "Holvex 2004";
inline constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The registry calls the entry needs, each opening and closing the Run key itself. The
// program uses the machine's own key; tests put a key in its place whose changes the
// registry refuses, which the machine's key under Wine never does.
class RunKey {
 public:
  virtual ~RunKey() = default;
  // Each returns the registry's status (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ...). Reading
  // never creates the key; writing and deleting create it when it is missing.
  virtual LONG QueryValue(const std::string& name);
  virtual LONG SetString(const std::string& name, const std::string& data);
  virtual LONG DeleteValue(const std::string& name);
};

// A change the registry refused, with the text the user sees.
class AutostartError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// False also when the key cannot be read.
bool AutostartEntryExists(RunKey& key, const std::string& name);
// Throw AutostartError when the registry refuses.
void AddAutostartEntry(RunKey& key, const std::string& name, const std::string& data);
// A value that is not there counts as removed.
void RemoveAutostartEntry(RunKey& key, const std::string& name);

}  // namespace holvex
