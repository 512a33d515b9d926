#pragma once
// The settings file load.ini: [allgemein] with the general settings and [proxy].
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ini_document.h"

namespace holvex {

inline constexpr const char* kSettingsFileName = "load.ini";
inline constexpr const char* kGeneralSection = "allgemein";
inline constexpr const char* kProxySection = "proxy";

struct GeneralSettings {
  bool playwav = false;
  bool status = true;
  bool autostart = false;
  bool systemtray = false;
  bool splashscreen = true;
  std::string wavfile;
  std::string downloadfolder = "C:\\";
};

struct ProxySettings {
  std::string server;
  std::string port;
  std::string username;
  std::string password;
};

// A write the platform refused: "In <path> kann nicht geschrieben werden".
class EIniFileException : public std::runtime_error {
 public:
  explicit EIniFileException(const std::string& path);
};

// A yes/no value's number: "0x"/"0X" and more than two characters read as hexadecimal,
// otherwise decimal; nullopt when the text is no such number.
std::optional<long long> ParseSettingNumber(std::string_view text);
bool ReadYesNo(const IniDocument& doc, std::string_view section, std::string_view key, bool fallback);
std::string ReadText(const IniDocument& doc, std::string_view section, std::string_view key,
                     std::string_view fallback);

GeneralSettings ReadGeneralSettings(const IniDocument& doc);
ProxySettings ReadProxySettings(const IniDocument& doc);

// The file on disk, read and written key by key; every other line stays as it was.
class SettingsFile {
 public:
  explicit SettingsFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }
  // The current content; a missing or unreadable file reads as empty (all defaults).
  IniDocument Load() const;
  // Throws EIniFileException when the platform refuses the write.
  void WriteString(std::string_view section, std::string_view key, std::string_view value) const;
  void WriteYesNo(std::string_view section, std::string_view key, bool value) const;

 private:
  std::string path_;
};

void WriteGeneralSettings(const SettingsFile& file, const GeneralSettings& s);
void WriteProxySettings(const SettingsFile& file, const ProxySettings& s);

}  // namespace holvex
