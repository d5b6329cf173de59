#pragma once
// Fixed-format record editing: a write hands items and a format such as
// "(A25,5F10.4)" or "(I2.2,8X,F12.5,2X,11F12.2)" and gets text records.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace eco {

// One output item. An array of reals is handed as one item per element
// (see realItems).
struct OutItem {
  enum class Kind { text, integer, real };
  Kind kind = Kind::text;
  std::string text;  // fixed length: trailing blanks are significant
  int32_t integer = 0;
  float real = 0.0f;

  static OutItem of(std::string_view t) { return {Kind::text, std::string(t), 0, 0.0f}; }
  static OutItem of(int32_t v) { return {Kind::integer, {}, v, 0.0f}; }
  static OutItem of(float v) { return {Kind::real, {}, 0, v}; }
};

// Appends one real item per element.
void appendReals(std::vector<OutItem>& items, std::span<const float> values);

// Edits the items under the format into records (without line ends).
// Format control stops at a data descriptor with no item left. A format
// that cannot be read gives no records at all; an item of the wrong kind
// for its descriptor fills the field with asterisks (one for a bare A).
// Items left over when the closing parenthesis is reached start a new
// record and the format over from its beginning.
std::vector<std::string> editRecords(std::string_view format, std::span<const OutItem> items);

// Single fields, exactly w characters (an empty text when w < 1).
// editF: NaN is " NaN" and blanks, infinity right-justified "Inf"/"-Inf";
// asterisks whenever the text does not fit.
std::string editF(float value, int w, int d);
std::string editI(int32_t value, int w, int m);
std::string editA(std::string_view text, int w);

// Writes records to a file, each ended by carriage return and line feed.
void writeRecords(std::ostream& out, const std::vector<std::string>& records);
// editRecords followed by writeRecords.
void write(std::ostream& out, std::string_view format, std::span<const OutItem> items);
// Writes records to the console, each ended by a line feed only.
void writeConsoleRecords(std::ostream& out, const std::vector<std::string>& records);

// The run-time header format of the summary tables, assembled in a
// 150-character text by "(A,I2,A)": "(A8,2X,A12,2X,11F12.3)" and blanks.
std::string buildHeaderFormat(int32_t count);

// Free-format console output: each write starts a new line of at most 80
// characters; integers take 12 characters; a text starting a line is
// preceded by one blank and is continued on further lines when it does not
// fit; a text after an integer follows it directly. Reals (not written by
// the system) take 15 characters, right-justified in the shortest form
// that reads back as the same number.
// Returns the lines, each ended by '\n'; a write without items gives one
// empty line.
std::string freeFormat(std::span<const OutItem> items);
void writeFree(std::ostream& out, std::span<const OutItem> items);

}  // namespace eco
