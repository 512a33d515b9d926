#include "platform/ini_fuzz_driver.h"

#include <cstdlib>
#include <string>

#include "platform/ini_document.h"
#include "platform/text.h"

namespace holvex::fuzz {

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string WithoutAny(std::string_view text, std::string_view drop) {
  std::string out;
  for (char c : text)
    if (drop.find(c) == std::string_view::npos) out += c;
  return out;
}

bool SameSections(const std::vector<IniSection>& a, const std::vector<IniSection>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].keys.size() != b[i].keys.size()) return false;
    for (size_t k = 0; k < a[i].keys.size(); ++k)
      if (a[i].keys[k].key != b[i].keys[k].key || a[i].keys[k].value != b[i].keys[k].value) return false;
  }
  return true;
}

// What Set promises, stated on the list of sections: the first section of that name (in any
// letter case) gets the value on its first key of that name, or the key at its end; without
// such a section a new one goes at the end.
void ExpectSet(std::vector<IniSection>& sections, const std::string& section, const std::string& key,
               const std::string& value) {
  for (IniSection& s : sections) {
    if (!EqualsIgnoreCase(s.name, section)) continue;
    for (IniKeyValue& kv : s.keys) {
      if (EqualsIgnoreCase(kv.key, key)) {
        kv.value = value;
        return;
      }
    }
    s.keys.push_back({key, value});
    return;
  }
  sections.push_back({section, {{key, value}}});
}

}  // namespace

void ReplayIniText(std::string_view data) {
  std::string section = "allgemein", key = "status", value = "1";
  size_t a = data.find('\0'), b = a == std::string_view::npos ? a : data.find('\0', a + 1);
  size_t c = b == std::string_view::npos ? b : data.find('\0', b + 1);
  if (c != std::string_view::npos) {
    // Only what a program can write: no line breaks anywhere, a key without "=" and outer
    // blanks that does not read as a header.
    section = WithoutAny(data.substr(0, a), "\r\n");
    key = std::string(TrimBlanks(WithoutAny(data.substr(a + 1, b - a - 1), "\r\n=")));
    if (key.empty() || key.front() == '[') key = "k" + key;
    value = WithoutAny(data.substr(b + 1, c - b - 1), "\r\n");
    data.remove_prefix(c + 1);
  }

  IniDocument doc = IniDocument::Parse(data);
  Check(doc.Serialize() == data);  // every byte kept
  std::vector<IniSection> expected = doc.Sections();
  ExpectSet(expected, section, key, value);

  doc.Set(section, key, value);
  const std::string written = doc.Serialize();
  IniDocument again = IniDocument::Parse(written);
  Check(SameSections(again.Sections(), expected));
  Check(again.Get(section, key) == value);
  Check(again.Serialize() == written);
}

}  // namespace holvex::fuzz
