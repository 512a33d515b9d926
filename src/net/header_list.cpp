#include "net/header_list.h"

#include "platform/text.h"

namespace holvex {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The position after which line may be broken (blank or comma outside quotes), searching
// backwards from maxLength, else forwards; npos when there is none.
size_t BreakPoint(std::string_view line, size_t maxLength) {
  size_t best = std::string_view::npos;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') quoted = !quoted;
    if (quoted || !(IsBlank(c) || c == ',') || i == 0) continue;
    if (i < maxLength || best == std::string_view::npos) best = i;
    if (i >= maxLength) break;
  }
  return best;
}

}  // namespace

std::string_view THeaderList::NameOf(std::string_view line) {
  size_t colon = line.find(':');
  return colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
}

size_t THeaderList::Find(std::string_view name, size_t from) const {
  for (size_t i = from; i < lines_.size(); ++i) {
    if (lines_[i].find(':') != std::string::npos && EqualsIgnoreCase(NameOf(lines_[i]), name)) return i;
  }
  return kNone;
}

size_t THeaderList::EndOfEntry(size_t i) const {
  size_t end = i + 1;
  while (end < lines_.size() && !lines_[end].empty() && IsBlank(lines_[end].front())) ++end;
  return end;
}

std::string THeaderList::ValueAt(size_t i) const {
  std::string_view line = lines_[i];
  std::string value(TrimBlanks(line.substr(line.find(':') + 1)));
  for (size_t k = i + 1; k < EndOfEntry(i); ++k) {
    value += ' ';
    value += TrimBlanks(lines_[k]);
  }
  return value;
}

std::string THeaderList::Value(std::string_view name) const {
  size_t i = Find(name);
  return i == kNone ? std::string() : ValueAt(i);
}

std::vector<std::string> THeaderList::Values(std::string_view name) const {
  std::vector<std::string> values;
  for (size_t i = Find(name); i != kNone; i = Find(name, i + 1)) values.push_back(ValueAt(i));
  return values;
}

void THeaderList::SetValue(std::string_view name, std::string_view value) {
  size_t i = Find(name);
  if (i != kNone) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i),
                 lines_.begin() + static_cast<std::ptrdiff_t>(EndOfEntry(i)));
  }
  if (value.empty()) return;
  std::string line = std::string(name) + ": " + std::string(value);
  lines_.insert(i == kNone ? lines_.end() : lines_.begin() + static_cast<std::ptrdiff_t>(i), std::move(line));
}

std::vector<std::string> FoldLine(std::string_view line, size_t maxLength) {
  std::vector<std::string> pieces;
  std::string current(line);
  while (current.size() > maxLength) {
    size_t at = BreakPoint(current, maxLength);
    if (at == std::string_view::npos) break;
    size_t cut = current[at] == ',' ? at + 1 : at;  // a comma stays with the piece it ends
    std::string_view rest = std::string_view(current).substr(cut);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    pieces.emplace_back(TrimRight(std::string_view(current).substr(0, cut)));
    if (rest.empty()) return pieces;
    std::string continuation(1, ' ');
    continuation += rest;
    current = std::move(continuation);
  }
  pieces.emplace_back(TrimRight(current));
  return pieces;
}

std::vector<std::string> THeaderList::FoldedLines(size_t maxLength) const {
  std::vector<std::string> out;
  for (const auto& line : lines_) {
    auto pieces = FoldLine(line, maxLength);
    out.insert(out.end(), pieces.begin(), pieces.end());
  }
  return out;
}

}  // namespace holvex

