#include "settings/settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/file_io.h"
#include "platform/text.h"

namespace holvex {

EIniFileException::EIniFileException(const std::string& path)
    : std::runtime_error("In " + path + " kann nicht geschrieben werden") {}

namespace {

bool AllDigits(std::string_view s, bool hex) {
  if (s.empty()) return false;
  for (char c : s) {
    bool ok = (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    if (!ok) return false;
  }
  return true;
}

}  // namespace

std::optional<long long> ParseSettingNumber(std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    std::string_view digits = t.substr(2);
    if (!AllDigits(digits, true) || digits.size() > 8) return std::nullopt;
    return std::strtoll(std::string(digits).c_str(), nullptr, 16);
  }
  std::string_view digits = t;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
  if (!AllDigits(digits, false)) return std::nullopt;
  errno = 0;
  long long value = std::strtoll(std::string(t).c_str(), nullptr, 10);
  // A stored number beyond 32 bits is not a number the program wrote: take the default.
  if (errno == ERANGE || value > INT_MAX || value < INT_MIN) return std::nullopt;
  return value;
}

bool ReadYesNo(const IniDocument& doc, std::string_view section, std::string_view key, bool fallback) {
  std::optional<std::string> value = doc.Get(section, key);
  if (!value) return fallback;
  std::optional<long long> number = ParseSettingNumber(*value);
  return number ? *number != 0 : fallback;
}

std::string ReadText(const IniDocument& doc, std::string_view section, std::string_view key,
                     std::string_view fallback) {
  std::optional<std::string> value = doc.Get(section, key);
  return value ? *value : std::string(fallback);
}

GeneralSettings ReadGeneralSettings(const IniDocument& doc) {
  GeneralSettings d;
  GeneralSettings s;
  s.playwav = ReadYesNo(doc, kGeneralSection, "playwav", d.playwav);
  s.status = ReadYesNo(doc, kGeneralSection, "status", d.status);
  s.autostart = ReadYesNo(doc, kGeneralSection, "autostart", d.autostart);
  s.systemtray = ReadYesNo(doc, kGeneralSection, "systemtray", d.systemtray);
  s.splashscreen = ReadYesNo(doc, kGeneralSection, "splashscreen", d.splashscreen);
  s.wavfile = ReadText(doc, kGeneralSection, "wavfile", d.wavfile);
  s.downloadfolder = ReadText(doc, kGeneralSection, "downloadfolder", d.downloadfolder);
  return s;
}

ProxySettings ReadProxySettings(const IniDocument& doc) {
  ProxySettings s;
  s.server = ReadText(doc, kProxySection, "server", "");
  s.port = ReadText(doc, kProxySection, "port", "");
  s.username = ReadText(doc, kProxySection, "username", "");
  s.password = ReadText(doc, kProxySection, "password", "");
  return s;
}

std::optional<int> ProxyPortNumber(std::string_view text) {
  if (text.empty()) return 0;
  std::optional<long long> number = ParseSettingNumber(text);
  if (!number || *number > INT_MAX || *number < INT_MIN) return std::nullopt;
  return static_cast<int>(*number);
}

std::string EngineProxyAddress(const ProxySettings& s) {
  std::optional<int> port = ProxyPortNumber(s.port);
  if (s.server.empty() || !port || *port <= 0) return s.server;
  // A port already in the server text wins; the colons of a bracketed IPv6 address are none.
  std::string_view afterAddress = s.server;
  if (size_t bracket = afterAddress.rfind(']'); bracket != std::string_view::npos)
    afterAddress.remove_prefix(bracket + 1);
  if (afterAddress.find(':') != std::string_view::npos) return s.server;
  return s.server + ":" + std::to_string(*port);
}

IniDocument SettingsFile::Load() const {
  return IniDocument::Parse(ReadFileBytes(path_).value_or(std::string()));
}

void SettingsFile::Update(const std::function<void(IniDocument&)>& change) const {
  std::optional<std::string> bytes = ReadFileBytes(path_);
  if (!bytes && FileExists(path_)) throw EIniFileException(path_);
  IniDocument doc = IniDocument::Parse(bytes.value_or(std::string()));
  change(doc);
  try {
    WriteFileReplacing(path_, doc.Serialize());
  } catch (const FileWriteError&) {
    throw EIniFileException(path_);
  }
}

namespace {
void SetYesNo(IniDocument& doc, std::string_view key, bool value) {
  doc.Set(kGeneralSection, key, value ? "1" : "0");
}
}  // namespace

void WriteGeneralSettings(const SettingsFile& file, const GeneralSettings& s) {
  file.Update([&s](IniDocument& doc) {
    SetYesNo(doc, "playwav", s.playwav);
    SetYesNo(doc, "status", s.status);
    SetYesNo(doc, "autostart", s.autostart);
    SetYesNo(doc, "systemtray", s.systemtray);
    SetYesNo(doc, "splashscreen", s.splashscreen);
    doc.Set(kGeneralSection, "downloadfolder", s.downloadfolder);
    doc.Set(kGeneralSection, "wavfile", s.wavfile);
  });
}

void WriteProxySettings(const SettingsFile& file, const ProxySettings& s) {
  file.Update([&s](IniDocument& doc) {
    doc.Set(kProxySection, "server", s.server);
    doc.Set(kProxySection, "port", s.port);
    doc.Set(kProxySection, "username", s.username);
    doc.Set(kProxySection, "password", s.password);
  });
}

}  // namespace holvex
