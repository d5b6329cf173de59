#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "records/free_read.h"

namespace eco {
namespace {

// Random inputs built mostly from the characters the syntax gives meaning
// to, with arbitrary bytes mixed in.
std::string randomInput(std::mt19937& rng) {
  static const std::string alphabet = "0123456789+-.eEdDqQ*,/ \t'\"\n\r\nabcx";
  std::uniform_int_distribution<int> length(0, 60);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> percent(0, 99);
  std::string s;
  const int n = length(rng);
  for (int i = 0; i < n; ++i) {
    const int p = percent(rng);
    if (p < 8) {
      s += static_cast<char>(byte(rng));
    } else if (p < 10) {
      s += "99999999999*";
    } else {
      s += alphabet[static_cast<std::size_t>(pick(rng))];
    }
  }
  return s;
}

TEST(FreeReadRobustness, RandomInputsNeverTouchMoreThanTheirItems) {
  std::mt19937 rng(20240611u);
  std::uniform_int_distribution<int> itemCount(0, 6);
  std::uniform_int_distribution<int> kindOf(0, 2);
  std::uniform_int_distribution<int> lengthOf(0, 5);
  constexpr int guard = 3;  // sentinel items after the list of each read
  int complete = 0, endOfFile = 0, error = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string input = randomInput(rng);
    const bool field = round % 4 == 0;
    std::istringstream in(input);
    RecordSource source = field ? fieldSource(input) : fileSource(in, "random.DAT", 7);
    const int64_t lines = 1 + static_cast<int64_t>(std::count(input.begin(), input.end(), '\n'));
    for (int64_t read = 0;; ++read) {
      // Every read takes at least one record, so a file of n lines allows
      // at most n + 1 reads before the end of file.
      ASSERT_LE(read, field ? 1 : lines + 1) << input;
      const int n = itemCount(rng);
      std::vector<int32_t> ints(n + guard, -12345);
      std::vector<float> reals(n + guard, -12345.0f);
      std::vector<std::string> texts(n + guard);
      std::vector<ReadItem> items;
      for (int i = 0; i < n + guard; ++i) {
        const int kind = kindOf(rng);
        const std::size_t length = static_cast<std::size_t>(lengthOf(rng));
        texts[i] = std::string(length, '#');
        if (kind == 0) items.push_back(ReadItem::integer(ints[i]));
        if (kind == 1) items.push_back(ReadItem::real(reals[i]));
        if (kind == 2) items.push_back(ReadItem::text(texts[i], length));
      }
      const ReadResult r = readRecord(source, std::span<const ReadItem>(items.data(), n));
      ASSERT_GE(r.satisfied, 0);
      ASSERT_LE(r.satisfied, n);
      if (r.outcome == ReadOutcome::complete) {
        ++complete;
        ASSERT_TRUE(r.report.empty());
      } else {
        ASSERT_FALSE(r.report.empty());
        ASSERT_LT(r.satisfied, n + (r.outcome == ReadOutcome::error ? 0 : 1));
        r.outcome == ReadOutcome::error ? ++error : ++endOfFile;
      }
      for (int i = 0; i < n + guard; ++i) {
        ASSERT_EQ(texts[i].size(),
                  items[i].kind == ReadItem::Kind::text ? items[i].length : texts[i].size());
        if (i >= r.satisfied) {
          // Items after the satisfied ones (the guard ones included) keep
          // their values; the first unsatisfied item of a failed read too.
          ASSERT_EQ(ints[i], -12345) << input;
          ASSERT_EQ(reals[i], -12345.0f) << input;
          ASSERT_EQ(texts[i], std::string(texts[i].size(), '#')) << input;
        }
      }
      if (r.outcome == ReadOutcome::endOfFile || field) break;
    }
  }
  // The inputs reach all three outcomes.
  EXPECT_GT(complete, 100);
  EXPECT_GT(endOfFile, 100);
  EXPECT_GT(error, 100);
}

}  // namespace
}  // namespace eco
