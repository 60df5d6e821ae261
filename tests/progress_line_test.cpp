// The terminal progress line: its time format, its redraw interval and its clearing.
#include "support/progress_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace jobshop {

namespace {

std::string contentsOf(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  std::fseek(file, 0, SEEK_END);  // back to writing
  return text;
}

}  // namespace

TEST(ProgressLine, ElapsedTimeInMinutesThenHours) {
  EXPECT_EQ(elapsedText(0.0), "0:00");
  EXPECT_EQ(elapsedText(59.9), "0:59") << "whole seconds, never rounded up";
  EXPECT_EQ(elapsedText(61.0), "1:01");
  EXPECT_EQ(elapsedText(3599.0), "59:59");
  EXPECT_EQ(elapsedText(3600.0), "1:00:00");
  EXPECT_EQ(elapsedText(36061.0), "10:01:01");
  EXPECT_EQ(elapsedText(-1.0), "0:00");
}

TEST(ProgressLine, RedrawnInPlaceAtMostEveryQuarterSecondAndCleared) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ProgressLine line;
  line.stream = file;
  drawProgressLine(line, "off");
  clearProgressLine(line);
  EXPECT_EQ(contentsOf(file), "") << "a line that is not enabled draws nothing";

  line.enabled = true;
  drawProgressLine(line, "one");
  drawProgressLine(line, "two");
  EXPECT_EQ(contentsOf(file), "\r\033[Kone") << "the second came too soon";
  line.lastDrawn -= std::chrono::milliseconds(250);
  EXPECT_TRUE(progressLineDue(line));
  drawProgressLine(line, "three");
  clearProgressLine(line);
  clearProgressLine(line);
  EXPECT_EQ(contentsOf(file), "\r\033[Kone\r\033[Kthree\r\033[K") << "cleared once";
  std::fclose(file);
}

}  // namespace jobshop
