#pragma once
// Free-format ("list-directed") reading of records: the one syntax in which
// every value of every input file and of the header file is read.
//
// A read takes a source and a list of items and ends complete, at end of
// file, or in error. The source remembers its position, so consecutive reads
// of a file take consecutive records; every read starts at a new record.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <span>
#include <string>

namespace eco {

enum class ReadOutcome { complete, endOfFile, error };

// One destination of a read. Texts are fixed length: an assigned text is
// cut or blank padded to exactly `length` characters. An item that gets a
// null value (or that a slash leaves unassigned) keeps its previous value.
struct ReadItem {
  enum class Kind { integer, real, text };
  Kind kind = Kind::integer;
  int32_t* integerValue = nullptr;
  float* realValue = nullptr;
  std::string* textValue = nullptr;
  std::size_t length = 0;

  static ReadItem integer(int32_t& v) { return {Kind::integer, &v, nullptr, nullptr, 0}; }
  static ReadItem real(float& v) { return {Kind::real, nullptr, &v, nullptr, 0}; }
  static ReadItem text(std::string& v, std::size_t length) {
    return {Kind::text, nullptr, nullptr, &v, length};
  }
};

// Where records come from: the lines of an open text file (a carriage
// return directly before the line feed belongs to the line end), or one
// text field that is the only record. Every read of a text field starts
// again at the field's beginning.
// A file source passes over a UTF-8 byte order mark at the very start of
// the file: such a file holds exactly the records the user typed.
struct RecordSource {
  std::istream* stream = nullptr;  // null for a text field
  std::string field;               // the record of a text-field source
  bool fieldTaken = false;         // the current read has taken the field
  std::string fileName;            // named in reports; "Internal List-Directed Read" for a field
  int unit = -5;                   // named in reports; -5 for a field
  int64_t lineNumber = 0;  // lines taken from the file so far (blank lines counted); 1 for a field
};

RecordSource fileSource(std::istream& in, const std::string& fileName, int unit);
RecordSource fieldSource(const std::string& text);

struct ReadResult {
  ReadOutcome outcome = ReadOutcome::complete;
  // The input layer's report when the outcome is not complete, e.g.
  // "end-of-file during read, unit 13, file survey.DAT".
  std::string report;
  // Line of the record holding the read's first value, null value or
  // slash; blank records passed over before it do not count (0: none).
  int64_t firstLine = 0;
  int64_t lastLine = 0;  // line of the record where the read ended
  // Items satisfied by a value or a null value, in order.
  int satisfied = 0;
  // The read took values (null values and parts of a quoted text
  // included) from more than one record.
  bool continued = false;
  // Values remain unread in the record where the read ended: the rest of
  // it holds anything but blanks, tabs and commas before a slash or its
  // end, or a repeat count still holds values.
  bool leftover = false;

  // What the callers need to tell a user about a slip or a failure.
  //
  // With `leftover`: the unread rest of the record (from its first value
  // to the end of the record or a slash, trailing blanks removed) and the
  // column (1-based) where it starts; a repeat count that still holds
  // values gives "<n>*<value>" at the column of its value.
  std::string unread;
  std::size_t unreadColumn = 0;
  // Complete reads: the column where the rest of the last record begins,
  // just after the last value taken (at the slash when one ended the read).
  std::size_t restColumn = 0;
  // The last value taken before the unread rest went to a text item; it
  // was quoted and the rest follows its closing quote directly.
  bool unreadAfterText = false;
  bool unreadAfterQuote = false;
  // A quoted text ran over the end of its record: the line where it did
  // first (0: none). Rarely meant; usually a quote left open.
  int64_t openQuoteLine = 0;
  // Items that a null value or a slash left unchanged (bit i: item i).
  uint64_t keptItems = 0;
  bool slash = false;  // a slash ended the read
  // Items satisfied by values in the record of firstLine.
  int satisfiedOnFirstLine = 0;
  // A real item took the digits before a comma that is followed by a digit,
  // in a record that otherwise separates values by blanks ("1 11 3 0,5"):
  // the line and the column of that comma (0: none).
  int64_t decimalCommaLine = 0;
  std::size_t decimalCommaColumn = 0;
  std::string decimalCommaText;  // the number as written ("0,5")

  // With the error outcome: the value that could not be taken, its column
  // in the record of lastLine, the item it was for (-1: none) and what is
  // probably wrong with it.
  enum class Hint { none, byteOrderMark, decimalComma, letter, quoted, junkAfterQuote };
  std::string badValue;
  std::string badRecord;  // the whole record of lastLine
  std::size_t badColumn = 0;
  int badItem = -1;
  Hint hint = Hint::none;
  // The error is the stream's own: a failed read or an overlong line; the
  // report says which and lastLine is the line that could not be taken.
  bool streamFailed = false;
};

ReadResult readRecord(RecordSource& source, std::span<const ReadItem> items);

}  // namespace eco
