#include "transfer/format.h"

#include <gtest/gtest.h>

#include <limits>

namespace holvex {
namespace {

TEST(FormatSize, SwitchesUnitsAtThousandAndMillion) {
  EXPECT_EQ(FormatSize(0, "."), "0 bytes");
  EXPECT_EQ(FormatSize(999, "."), "999 bytes");
  EXPECT_EQ(FormatSize(1000, "."), "1.00 Kb");
  EXPECT_EQ(FormatSize(1234, ","), "1,23 Kb");
  EXPECT_EQ(FormatSize(999999, "."), "1000.00 Kb");
  EXPECT_EQ(FormatSize(1000000, "."), "1.00 Mb");
  EXPECT_EQ(FormatSize(209715200, ","), "209,72 Mb");
  // Beyond 2^31 and 2^32 (a DVD image): still megabytes, never negative or wrapped.
  EXPECT_EQ(FormatSize(2147483648LL, "."), "2147.48 Mb");
  EXPECT_EQ(FormatSize(5000000000LL, ","), "5000,00 Mb");
}

TEST(FormatRate, SameThresholdsWithPerSecondUnits) {
  EXPECT_EQ(FormatRate(999, "."), "999 bytes/sec");
  EXPECT_EQ(FormatRate(1000, ","), "1,00 Kb/sec");
  EXPECT_EQ(FormatRate(2500000, "."), "2.50 Mb/sec");
  EXPECT_EQ(FormatRate(4294967296LL, "."), "4294.97 Mb/sec");
}

TEST(FormatTimeLeft, RoundsStepByStepHalvesToEven) {
  // 1 byte done of 2 after the given time: the rest takes as long again.
  auto left = [](int ms) { return FormatTimeLeft(ms, 1, 2); };
  EXPECT_EQ(left(30'000), "30 sec.");  // half a minute rounds to 0 minutes
  EXPECT_EQ(left(31'000), "1 minutes");
  EXPECT_EQ(left(90'000), "2 minutes");
  EXPECT_EQ(left(29 * 60'000), "29 minutes");
  EXPECT_EQ(left(31 * 60'000), "0h 31");
  EXPECT_EQ(left(90 * 60'000), "1h 30");
  EXPECT_EQ(left(150 * 60'000), "2h 30");
  EXPECT_EQ(FormatTimeLeft(4000, 100, 300), "8 sec.");
  // 61 MB of 5 GB after a minute; a first byte of the largest announced size stays defined.
  EXPECT_EQ(FormatTimeLeft(60'000, 61'000'000, 5'000'000'000LL), "1h 21");
  EXPECT_NE(FormatTimeLeft(4'000'000'000LL, 1, std::numeric_limits<std::int64_t>::max()).find("h "),
            std::string::npos);
}

TEST(FormatTimeLeft, NothingDoneOrUnknownTotal) {
  EXPECT_EQ(FormatTimeLeft(5000, 0, 100), "");
  EXPECT_EQ(FormatTimeLeft(5000, -1, 100), "");
  EXPECT_EQ(FormatTimeLeft(5000, 100, 0), "-5 sec.");
  EXPECT_EQ(FormatTimeLeft(120'000, 100, 0), "-2 minutes");
  EXPECT_EQ(FormatTimeLeft(0, 100, 100), "0 sec.");
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
}

TEST(ProgressMath, PercentAndRateDoNotOverflow) {
  EXPECT_EQ(ProgressPercent(1, 200), 0);  // 0.5
  EXPECT_EQ(ProgressPercent(3, 200), 2);  // 1.5
  EXPECT_EQ(ProgressPercent(4'000'000'000u, 4'000'000'000u), 100);
  EXPECT_EQ(ProgressPercent(50'000'000u, 100'000'000u), 50);
  EXPECT_EQ(AverageRate(1000, 0), 1'000'000);
  EXPECT_EQ(AverageRate(4096, 999), 4096);
  EXPECT_EQ(ProgressPercent(2'500'000'000u, 5'000'000'000u), 50);
  EXPECT_EQ(ProgressPercent(5'000'000'000u, 5'000'000'000u), 100);
  EXPECT_EQ(AverageRate(5'000'000'000u, 999), 5'000'000'000);
}

}  // namespace
}  // namespace holvex
