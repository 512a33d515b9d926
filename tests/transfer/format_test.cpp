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
  // 2 GiB and more arrive negative and stay bytes.
  EXPECT_EQ(FormatSize(std::numeric_limits<std::int32_t>::min(), "."), "-2147483648 bytes");
}

TEST(FormatRate, SameThresholdsWithPerSecondUnits) {
  EXPECT_EQ(FormatRate(999, "."), "999 bytes/sec");
  EXPECT_EQ(FormatRate(1000, ","), "1,00 Kb/sec");
  EXPECT_EQ(FormatRate(2500000, "."), "2.50 Mb/sec");
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
  EXPECT_EQ(AverageRate(4'000'000'000u, 0), std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace holvex
