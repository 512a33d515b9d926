#pragma once
// The settings file load.ini: [allgemein] with the general settings and [proxy].
#include <functional>
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

// The proxy port as a number: 0 for an empty text, nullopt for a text that is no whole number.
std::optional<int> ProxyPortNumber(std::string_view text);
// What the transfer engine takes as its proxy: the server, followed by ":port" when a port is
// set and the server text names none (WinInet would otherwise go to port 80).
std::string EngineProxyAddress(const ProxySettings& s);

// The file on disk. Every other section, key and line stays as it was.
class SettingsFile {
 public:
  explicit SettingsFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }
  // The current content; a missing or unreadable file reads as empty (all defaults).
  IniDocument Load() const;
  // Reads the file, lets `change` set its keys and replaces the file in one step, so that a
  // refused write leaves the whole previous file. Throws EIniFileException when the platform
  // refuses the write, or when a file that exists cannot be read (its other lines would go).
  void Update(const std::function<void(IniDocument&)>& change) const;

 private:
  std::string path_;
};

// Each writes every key of its section, in one replacement of the file.
void WriteGeneralSettings(const SettingsFile& file, const GeneralSettings& s);
void WriteProxySettings(const SettingsFile& file, const ProxySettings& s);

}  // namespace holvex
