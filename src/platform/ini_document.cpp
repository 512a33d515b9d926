#include "platform/ini_document.h"

#include "platform/text.h"

namespace holvex {

namespace {
constexpr size_t npos = std::string::npos;
}

const std::string* IniSection::Find(std::string_view key) const {
  for (const IniKeyValue& kv : keys) {
    if (EqualsIgnoreCase(kv.key, key)) return &kv.value;
  }
  return nullptr;
}

bool IsIniSectionHeader(std::string_view line, std::string* name) {
  std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() != '[') return false;
  t.remove_prefix(1);
  // The last "]" closes the name, so that names holding "]" read back whole.
  size_t close = t.rfind(']');
  if (close != npos) t = t.substr(0, close);
  if (name) *name = std::string(t);
  return true;
}

bool SplitIniKeyValue(std::string_view line, std::string* key, std::string* value) {
  size_t eq = line.find('=');
  if (eq == npos) return false;
  std::string_view k = TrimBlanks(line.substr(0, eq));
  if (k.empty()) return false;
  if (key) *key = std::string(k);
  if (value) *value = std::string(line.substr(eq + 1));
  return true;
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    Line line;
    if (end == npos) {
      line.text = std::string(text.substr(pos));
      pos = text.size();
    } else {
      line.text = std::string(text.substr(pos, end - pos));
      size_t len = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
      line.end = std::string(text.substr(end, len));
      pos = end + len;
    }
    doc.lines_.push_back(std::move(line));
  }
  return doc;
}

std::vector<IniSection> IniDocument::Sections() const {
  std::vector<IniSection> sections;
  std::string name, key, value;
  for (const Line& line : lines_) {
    if (IsIniSectionHeader(line.text, &name)) {
      sections.push_back(IniSection{name, {}});
    } else if (!sections.empty() && SplitIniKeyValue(line.text, &key, &value)) {
      sections.back().keys.push_back(IniKeyValue{key, value});
    }
  }
  return sections;
}

size_t IniDocument::FindSectionLine(std::string_view section) const {
  std::string name;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (IsIniSectionHeader(lines_[i].text, &name) && EqualsIgnoreCase(name, section)) return i;
  }
  return npos;
}

size_t IniDocument::FindKeyLine(size_t header, std::string_view key) const {
  std::string k;
  for (size_t i = header + 1; i < lines_.size(); ++i) {
    if (IsIniSectionHeader(lines_[i].text, nullptr)) break;
    if (SplitIniKeyValue(lines_[i].text, &k, nullptr) && EqualsIgnoreCase(k, key)) return i;
  }
  return npos;
}

size_t IniDocument::SectionInsertPoint(size_t header) const {
  size_t insert = header + 1;
  for (size_t i = header + 1; i < lines_.size(); ++i) {
    if (IsIniSectionHeader(lines_[i].text, nullptr)) break;
    if (!TrimBlanks(lines_[i].text).empty()) insert = i + 1;
  }
  return insert;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  size_t header = FindSectionLine(section);
  if (header == npos) return std::nullopt;
  size_t line = FindKeyLine(header, key);
  if (line == npos) return std::nullopt;
  std::string value;
  SplitIniKeyValue(lines_[line].text, nullptr, &value);
  return value;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string text;
  text.reserve(key.size() + value.size() + 1);
  text.append(key).append("=").append(value);
  size_t header = FindSectionLine(section);
  if (header == npos) {
    // A file whose last line has no line end gets one before the new section.
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = "\r\n";
    std::string headerText;
    headerText.reserve(section.size() + 2);
    headerText.append("[").append(section).append("]");
    lines_.push_back(Line{std::move(headerText), "\r\n"});
    lines_.push_back(Line{text, "\r\n"});
    return;
  }
  size_t line = FindKeyLine(header, key);
  if (line != npos) {
    // Keep the key's spelling as the file has it; only the value changes.
    size_t eq = lines_[line].text.find('=');
    lines_[line].text = lines_[line].text.substr(0, eq + 1) + std::string(value);
    return;
  }
  size_t at = SectionInsertPoint(header);
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = "\r\n";
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{text, "\r\n"});
}

std::string IniDocument::Serialize() const {
  size_t total = 0;
  for (const Line& line : lines_) total += line.text.size() + line.end.size();
  std::string out;
  out.reserve(total);
  for (const Line& line : lines_) {
    out += line.text;
    out += line.end;
  }
  return out;
}

}  // namespace holvex
