#include "transfer/date_time.h"

#include <gtest/gtest.h>

#include "transfer/transfer_items.h"

namespace holvex {
namespace {

TEST(EncodeDateTime, DaysSinceTheEpochWithTheTimeAsFraction) {
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 30}), 0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({1900, 1, 1}), 2);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2000, 2, 29}), 36585);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2004, 5, 17, 18, 0, 0, 0}), 38124.75);
  EXPECT_NEAR(EncodeDateTime({2004, 5, 17, 0, 0, 1, 500}), 38124 + 1.5 / 86400, 1e-9);
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 29, 6, 0, 0, 0}), -1.25);
}

TEST(EncodeDateTime, RefusesInvalidRecords) {
  EXPECT_THROW(EncodeDateTime({}), DateConversionError);
  EXPECT_THROW(EncodeDateTime({2001, 2, 29}), DateConversionError);
  EXPECT_THROW(EncodeDateTime({1900, 2, 29}), DateConversionError);
  EXPECT_THROW(EncodeDateTime({2004, 13, 1}), DateConversionError);
  EXPECT_THROW(EncodeDateTime({2004, 1, 1, 24, 0, 0, 0}), DateConversionError);
  EXPECT_THROW(EncodeDateTime({2004, 1, 1, 0, 0, 0, 1000}), DateConversionError);
}

TEST(IsLater, ComparesToTheMillisecond) {
  const TDateTime stored = EncodeDateTime({2026, 12, 8, 5, 43, 0, 0});
  // A fresh computation of the same date: on the x87 unit it may still carry extra precision.
  EXPECT_FALSE(IsLater(EncodeDateTime({2026, 12, 8, 5, 43, 0, 0}), stored));
  EXPECT_TRUE(IsLater(EncodeDateTime({2026, 12, 8, 5, 43, 0, 1}), stored));
  EXPECT_FALSE(IsLater(stored, EncodeDateTime({2026, 12, 8, 5, 43, 0, 1})));
}

TEST(TransferItems, DefaultsAddAndActiveCount) {
  TTransferItems items(nullptr);
  TTransferItem& first = items.Add();
  EXPECT_EQ(first.Protocol, tkHttp);
  EXPECT_EQ(first.HTTPCommand, hcPost);
  EXPECT_EQ(first.FTPPort, 21);
  EXPECT_TRUE(first.Active);
  items.Add().Active = false;
  items.Add();
  first.URL = "http://h/a";  // the reference survives later additions
  EXPECT_EQ(items[0].URL, "http://h/a");
  EXPECT_EQ(items.Count(), 3);
  EXPECT_EQ(items.ActiveCount(), 2);
  items.Delete(0);
  EXPECT_EQ(items.ActiveCount(), 1);
  EXPECT_THROW(items.Delete(5), std::out_of_range);
  items.Clear();
  EXPECT_EQ(items.Count(), 0);
}

}  // namespace
}  // namespace holvex
