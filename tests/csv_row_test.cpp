// CSV rows as spreadsheets read them back: plain values stay plain, the rest are quoted.
#include "support/csv_row.h"

#include <gtest/gtest.h>

namespace jobshop {

TEST(CsvRow, QuotesOnlyFieldsThatNeedIt) {
  EXPECT_EQ(csvField("2026-12-09T03:40:00Z"), "2026-12-09T03:40:00Z");
  EXPECT_EQ(csvField(""), "");
  EXPECT_EQ(csvField("x,y"), "\"x,y\"");
  EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(csvRow({"a", "", "b,c", ""}), "a,,\"b,c\",\n");
  EXPECT_EQ(csvRow({}), "\n");
  EXPECT_STREQ(csvBoolean(true), "true");
  EXPECT_STREQ(csvBoolean(false), "false");
}

}  // namespace jobshop
