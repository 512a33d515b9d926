#include "net/http_date.h"

#include <cstdio>
#include <vector>

#include "net/wire_numbers.h"
#include "platform/text.h"

namespace holvex {

namespace {

constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                   "jul", "aug", "sep", "oct", "nov", "dec"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kDayNames[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};  // from 1970-01-01

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  unsigned yoe = static_cast<unsigned>(y - era * 400);
  unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  unsigned doe = static_cast<unsigned>(z - era * 146097);
  unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

unsigned DaysInMonth(std::int64_t y, unsigned m) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    bool sign = (c == '+' || c == '-') && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9' &&
                (i == 0 || text[i - 1] == ' ');
    if (c == ' ' || c == ',' || c == '\t' || (c == '-' && !sign)) {
      ++i;
      continue;
    }
    size_t start = i++;
    while (i < text.size() && text[i] != ' ' && text[i] != ',' && text[i] != '\t' && text[i] != '-') ++i;
    tokens.push_back(text.substr(start, i - start));
  }
  return tokens;
}

struct DateParts {
  std::int64_t year = -1;
  int month = -1, day = -1, hour = -1, minute = 0, second = 0;
  std::int64_t offsetSeconds = 0;
};

bool ReadTime(std::string_view token, DateParts& parts) {
  std::int64_t values[3] = {0, 0, 0};
  int count = 0;
  while (count < 3) {
    size_t colon = token.find(':');
    auto value = ParseDecimal(token.substr(0, colon));
    if (!value || *value < 0 || token.substr(0, colon).size() > 2) return false;
    values[count++] = *value;
    if (colon == std::string_view::npos) break;
    token.remove_prefix(colon + 1);
  }
  if (count < 2 || values[0] > 23 || values[1] > 59 || values[2] > 60) return false;
  parts.hour = static_cast<int>(values[0]);
  parts.minute = static_cast<int>(values[1]);
  parts.second = static_cast<int>(values[2] == 60 ? 59 : values[2]);
  return true;
}

bool ReadToken(std::string_view token, DateParts& parts) {
  if (token.find(':') != std::string_view::npos) return ReadTime(token, parts);
  if (token.front() == '+' || token.front() == '-') {
    auto value = ParseDecimal(token.substr(1));
    if (token.size() != 5 || !value || *value % 100 > 59) return false;
    std::int64_t seconds = (*value / 100) * 3600 + (*value % 100) * 60;
    parts.offsetSeconds = token.front() == '-' ? -seconds : seconds;
    return true;
  }
  if (auto number = ParseDecimal(token)) {
    if (parts.day < 0 && token.size() <= 2) {
      parts.day = static_cast<int>(*number);
    } else if (parts.year < 0 && token.size() <= 4) {
      parts.year = token.size() == 2 ? (*number < 70 ? 2000 + *number : 1900 + *number) : *number;
    } else {
      return false;
    }
    return true;
  }
  std::string lower = ToLowerAscii(token.substr(0, 3));
  for (int m = 0; m < 12; ++m) {
    if (lower == kMonths[m] && parts.month < 0) parts.month = m + 1;
  }
  return true;  // day names and zone names ("GMT", "UTC") add nothing
}

}  // namespace

std::optional<std::int64_t> ParseHttpDate(std::string_view text) {
  DateParts parts;
  for (std::string_view token : Tokens(text)) {
    if (!ReadToken(token, parts)) return std::nullopt;
  }
  if (parts.year < 1601 || parts.year > 9999 || parts.month < 0 || parts.day < 1 || parts.hour < 0 ||
      static_cast<unsigned>(parts.day) > DaysInMonth(parts.year, static_cast<unsigned>(parts.month))) {
    return std::nullopt;
  }
  std::int64_t days = DaysFromCivil(parts.year, static_cast<unsigned>(parts.month), static_cast<unsigned>(parts.day));
  return days * 86400 + parts.hour * 3600 + parts.minute * 60 + parts.second - parts.offsetSeconds;
}

std::string FormatHttpDate(std::int64_t secondsSince1970) {
  std::int64_t days = secondsSince1970 >= 0 ? secondsSince1970 / 86400 : (secondsSince1970 - 86399) / 86400;
  std::int64_t inDay = secondsSince1970 - days * 86400;
  std::int64_t year;
  unsigned month, day;
  CivilFromDays(days, year, month, day);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02u %s %04lld %02d:%02d:%02d GMT", kDayNames[((days % 7) + 7) % 7], day,
                kMonthNames[month - 1], static_cast<long long>(year), static_cast<int>(inDay / 3600),
                static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60));
  return text;
}

}  // namespace holvex
