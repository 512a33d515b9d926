#pragma once
// An INI text held as its lines, so that changing one key writes every other line back as it
// was. Section and key names match without regard to case; a value is everything after the
// first "=" of its line. Nothing is truncated: names and values may be of any length.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace holvex {

struct IniKeyValue {
  std::string key;
  std::string value;
};

// One section as found in the file, with its own keys in file order.
struct IniSection {
  std::string name;
  std::vector<IniKeyValue> keys;
  // First key of that name (case-insensitive) in this section, if any.
  const std::string* Find(std::string_view key) const;
};

class IniDocument {
 public:
  IniDocument() = default;
  // Accepts any bytes: line ends CR LF, LF or a lone CR; lines that are neither a section
  // header nor hold "=" are kept for writing but carry no value.
  static IniDocument Parse(std::string_view text);

  // Every section header in file order; a name that occurs twice is listed twice.
  std::vector<IniSection> Sections() const;

  // The value from the first section of that name; nullopt when section or key is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Sets the key in the first section of that name, appending the key or the whole section
  // when missing. All other lines stay byte for byte.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Serialize() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", "\r" or "" for a last line without one
  };
  // Index of the first header line of the section, or npos.
  size_t FindSectionLine(std::string_view section) const;
  // Index of the key's line inside the section starting at `header`, or npos.
  size_t FindKeyLine(size_t header, std::string_view key) const;
  // One past the section's last key line (where a new key goes).
  size_t SectionInsertPoint(size_t header) const;

  std::vector<Line> lines_;
};

// Line classification shared by the parser and the queries.
bool IsIniSectionHeader(std::string_view line, std::string* name);
bool SplitIniKeyValue(std::string_view line, std::string* key, std::string* value);

}  // namespace holvex
