#include "platform/locale_format.h"

#include <gtest/gtest.h>

namespace holvex {
namespace {

TEST(FormatHundredths, GroupsThousandsAndKeepsTwoDecimals) {
  LocaleSeparators de{",", "."};
  EXPECT_EQ(FormatHundredths(0, de), "0,00");
  EXPECT_EQ(FormatHundredths(5, de), "0,05");
  EXPECT_EQ(FormatHundredths(99999, de), "999,99");
  EXPECT_EQ(FormatHundredths(102400, de), "1.024,00");
  EXPECT_EQ(FormatHundredths(123456789012, de), "1.234.567.890,12");
  EXPECT_EQ(FormatHundredths(-102400, de), "-1.024,00");
  EXPECT_EQ(FormatHundredths(102400, LocaleSeparators{".", ","}), "1,024.00");
  EXPECT_EQ(FormatHundredths(102400, LocaleSeparators{".", ""}), "1024.00");
}

TEST(FormatClockTime, TwoDigitsEachOnA24HourClock) {
  EXPECT_EQ(FormatClockTime(0, 0, 0), "00:00:00");
  EXPECT_EQ(FormatClockTime(23, 5, 9), "23:05:09");
  std::string now = CurrentClockTime();
  ASSERT_EQ(now.size(), 8u);
  EXPECT_EQ(now[2], ':');
  EXPECT_EQ(now[5], ':');
}

}  // namespace
}  // namespace holvex
