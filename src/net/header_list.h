#pragma once
// Header lines in order, each "name: value". A line starting with a blank continues the line
// before it. Names compare without regard to case and the first line of a name answers.
#include <string>
#include <string_view>
#include <vector>

namespace holvex {

class THeaderList {
 public:
  void Clear() { lines_.clear(); }
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& lines() const { return lines_; }
  size_t size() const { return lines_.size(); }

  // The trimmed value of the first line of that name joined (with one blank) with its trimmed
  // continuation lines; "" when there is none.
  std::string Value(std::string_view name) const;
  // The values of every line of that name, in order.
  std::vector<std::string> Values(std::string_view name) const;
  bool Has(std::string_view name) const { return Find(name) != kNone; }
  // A non-empty value replaces the first line of that name (and its continuation lines) in
  // place or is appended; an empty value removes that line.
  void SetValue(std::string_view name, std::string_view value);

  // The lines as sent in a request head: a line longer than maxLength is folded at a blank or
  // comma outside double quotes; continuation lines start with one blank.
  std::vector<std::string> FoldedLines(size_t maxLength = 1024) const;

  // The text before a line's first ":" (all of a line without one is no name: "").
  static std::string_view NameOf(std::string_view line);

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  size_t Find(std::string_view name, size_t from = 0) const;
  // One past the last continuation line of line i.
  size_t EndOfEntry(size_t i) const;
  std::string ValueAt(size_t i) const;

  std::vector<std::string> lines_;
};

// Splits one over-long line into folded pieces (see FoldedLines).
std::vector<std::string> FoldLine(std::string_view line, size_t maxLength);

}  // namespace holvex
