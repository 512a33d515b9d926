#pragma once
// Date-time values as the component's events carry them: days since 1899-12-30, the time of
// day as the fraction.
#include <stdexcept>

namespace holvex {

using TDateTime = double;

struct DateTimeFields {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// A record that is no valid date or time (for example all zero).
class DateConversionError : public std::runtime_error {
 public:
  DateConversionError() : std::runtime_error("Invalid argument to date encode") {}
};

// Throws DateConversionError for an invalid record.
TDateTime EncodeDateTime(const DateTimeFields& fields);

// a later than b by at least a millisecond. A plain comparison can find a date later than its
// own stored copy: 32-bit builds compute on the x87 unit, whose extra precision a value keeps
// until it is stored.
bool IsLater(TDateTime a, TDateTime b);

}  // namespace holvex
