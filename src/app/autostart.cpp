#include "app/autostart.h"

#include "toolkit/handles.h"

namespace holvex {

namespace {

struct RegistryKeyTraits {
  static void Free(HKEY key) { RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;

LONG OpenRunKey(bool create, REGSAM access, UniqueRegistryKey& key) {
  HKEY opened = nullptr;
  LONG status = create ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, nullptr, 0, access, nullptr,
                                         &opened, nullptr)
                       : RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, access, &opened);
  if (status == ERROR_SUCCESS) key.reset(opened);
  return status;
}

}  // namespace

LONG RunKey::QueryValue(const std::string& name) {
  UniqueRegistryKey key;
  LONG status = OpenRunKey(false, KEY_QUERY_VALUE, key);
  if (status != ERROR_SUCCESS) return status;
  return RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr);
}

LONG RunKey::SetString(const std::string& name, const std::string& data) {
  UniqueRegistryKey key;
  LONG status = OpenRunKey(true, KEY_SET_VALUE, key);
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1));
}

LONG RunKey::DeleteValue(const std::string& name) {
  UniqueRegistryKey key;
  LONG status = OpenRunKey(true, KEY_SET_VALUE, key);
  if (status != ERROR_SUCCESS) return status;
  return RegDeleteValueA(key.get(), name.c_str());
}

bool AutostartEntryExists(RunKey& key, const std::string& name) {
  return key.QueryValue(name) == ERROR_SUCCESS;
}

void AddAutostartEntry(RunKey& key, const std::string& name, const std::string& data) {
  if (key.SetString(name, data) != ERROR_SUCCESS)
    throw AutostartError("Fehler beim Setzen der Daten für '" + name + "'");
}

void RemoveAutostartEntry(RunKey& key, const std::string& name) {
  LONG status = key.DeleteValue(name);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw AutostartError("Fehler beim Löschen der Daten für '" + name + "'");
}

}  // namespace holvex
