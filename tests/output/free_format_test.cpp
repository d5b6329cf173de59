#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "output/edit.h"

namespace eco {
namespace {

std::string recordBlanks(size_t n) { return std::string(n, ' '); }

std::string freeOf(const std::vector<OutItem>& items) { return freeFormat(items); }

TEST(FreeFormat, ProgressLines) {
  EXPECT_EQ(freeOf({OutItem::of(int32_t{1}), OutItem::of(int32_t{1})}),
            recordBlanks(11) + "1" + recordBlanks(11) + "1\n");
  EXPECT_EQ(freeOf({OutItem::of(int32_t{3}), OutItem::of(int32_t{17})}),
            recordBlanks(11) + "3" + recordBlanks(10) + "17\n");
  EXPECT_EQ(freeOf({OutItem::of(int32_t{-2147483647 - 1})}), " -2147483648\n");
}

TEST(FreeFormat, FailureMessageTakesTwoLines) {
  std::string message = "error in opening header file";
  message.resize(150, ' ');
  const std::string expected =
      recordBlanks(1) + message.substr(0, 79) + "\n" + recordBlanks(72) + "\n";
  EXPECT_EQ(freeOf({OutItem::of(message)}), expected);
}

TEST(FreeFormat, TextLines) {
  EXPECT_EQ(freeOf({OutItem::of("ab  ")}), " ab  \n");
  EXPECT_EQ(freeOf({OutItem::of(std::string(79, 'x'))}),
            recordBlanks(1) + std::string(79, 'x') + "\n");
  EXPECT_EQ(freeOf({OutItem::of(std::string(80, 'x'))}),
            recordBlanks(1) + std::string(79, 'x') + "\n x\n");
  EXPECT_EQ(freeOf({OutItem::of(std::string(200, 'y'))}), recordBlanks(1) + std::string(79, 'y') +
                                                              "\n " + std::string(79, 'y') + "\n " +
                                                              std::string(42, 'y') + "\n");
  EXPECT_EQ(freeOf({OutItem::of("")}), " \n");
  EXPECT_EQ(freeOf({}), "\n");
}

TEST(FreeFormat, MixedItemsOnOneLine) {
  // A text after an integer follows it directly; an integer after a text
  // too, as long as its 12 characters fit in the 80.
  EXPECT_EQ(freeOf({OutItem::of("step"), OutItem::of(int32_t{4}), OutItem::of("done")}),
            " step" + recordBlanks(11) + "4done\n");
  EXPECT_EQ(freeOf({OutItem::of("a"), OutItem::of("b")}), " ab\n");
  // Six integers fill 72 characters; the seventh does not fit and starts a
  // new line at its first position.
  std::vector<OutItem> seven;
  for (int32_t k = 1; k <= 7; ++k) seven.push_back(OutItem::of(k));
  std::string line1;
  for (int k = 1; k <= 6; ++k) line1 += recordBlanks(11) + std::to_string(k);
  EXPECT_EQ(freeOf(seven), line1 + "\n" + recordBlanks(11) + "7\n");
  // After 72 characters of integers a text takes the 8 positions left and
  // continues on a new line that begins with one blank.
  std::vector<OutItem> mixed(seven.begin(), seven.end() - 1);
  mixed.push_back(OutItem::of("ABCDEFGHIJ"));
  EXPECT_EQ(freeOf(mixed), line1 + "ABCDEFGH\n IJ\n");
  // A text that ends exactly at position 80 leaves no empty line behind.
  std::vector<OutItem> exact(seven.begin(), seven.end() - 1);
  exact.push_back(OutItem::of("ABCDEFGH"));
  EXPECT_EQ(freeOf(exact), line1 + "ABCDEFGH\n");
  exact.push_back(OutItem::of("Z"));
  EXPECT_EQ(freeOf(exact), line1 + "ABCDEFGH\n Z\n");
  // An integer after a 70-character text (71 positions used) goes to the
  // next line.
  EXPECT_EQ(freeOf({OutItem::of(std::string(70, 't')), OutItem::of(int32_t{9})}),
            recordBlanks(1) + std::string(70, 't') + "\n" + recordBlanks(11) + "9\n");
}

TEST(FreeFormat, Reals) {
  EXPECT_EQ(freeOf({OutItem::of(0.25f)}), recordBlanks(11) + "0.25\n");
  EXPECT_EQ(freeOf({OutItem::of(-1.17549435e-38f)}), " -1.1754944e-38\n");
  EXPECT_EQ(freeOf({OutItem::of(std::numeric_limits<float>::quiet_NaN())}),
            recordBlanks(12) + "NaN\n");
  EXPECT_EQ(freeOf({OutItem::of(-std::numeric_limits<float>::infinity())}),
            recordBlanks(11) + "-Inf\n");
}

TEST(FreeFormat, WriteFreeWritesTheLines) {
  std::ostringstream out;
  writeFree(out, std::vector<OutItem>{OutItem::of(int32_t{2}), OutItem::of(int32_t{5})});
  writeFree(out, std::vector<OutItem>{OutItem::of("x")});
  EXPECT_EQ(out.str(), recordBlanks(11) + "2" + recordBlanks(11) + "5\n x\n");
}

}  // namespace
}  // namespace eco
