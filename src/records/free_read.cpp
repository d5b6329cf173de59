#include "records/free_read.h"

#include <charconv>
#include <string_view>
#include <system_error>

#include "records/line_read.h"
#include "records/value_convert.h"

namespace eco {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSeparator(char c) { return isBlank(c) || c == ',' || c == '/'; }
bool isQuote(char c) { return c == '\'' || c == '"'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Only digits, with an optional sign: what a number written with a decimal
// comma leaves before the comma.
bool isWholeNumber(const std::string& t) {
  std::size_t i = t.empty() || (t[0] != '+' && t[0] != '-') ? 0 : 1;
  if (i >= t.size()) return false;
  for (; i < t.size(); ++i) {
    if (!isDecimalDigit(t[i])) return false;
  }
  return true;
}

// The record separates some of its values by blanks (not only commas).
bool hasBlankBetweenValues(const std::string& record) {
  const std::size_t first = record.find_first_not_of(" \t");
  const std::size_t last = record.find_last_not_of(" \t");
  if (first == std::string::npos) return false;
  for (std::size_t i = first; i < last; ++i) {
    if (isBlank(record[i]) && record[i - 1] != ',' && record[i + 1] != ',' &&
        !isBlank(record[i - 1])) {
      return true;
    }
  }
  return false;
}

// The next record of the source, without its line end. A carriage return
// directly before the line feed (or ending the file) is part of the line
// end: survey files written on other systems end their lines with CR LF.
LineRead takeRecord(RecordSource& source, std::string& record) {
  if (source.stream == nullptr) {
    if (source.fieldTaken) return LineRead::end;
    source.fieldTaken = true;
    record = source.field;
    source.lineNumber = 1;
    return LineRead::line;
  }
  const LineRead r = readLine(*source.stream, record);
  if (r != LineRead::line) return r;
  if (source.lineNumber == 0) dropByteOrderMark(record);
  if (!record.empty() && record.back() == '\r') record.pop_back();
  ++source.lineNumber;
  return LineRead::line;
}

std::string report(const RecordSource& source, const char* what) {
  return std::string(what) + ", unit " + std::to_string(source.unit) + ", file " + source.fileName;
}

// One value as taken from the record, before it is fitted to an item: a
// repeat count hands the same value to several items of different kinds.
struct Value {
  bool null = false;
  bool quoted = false;
  std::string text;
};

enum class Step { value, null, slash, endOfFile, syntaxError };

struct Reader {
  Reader(RecordSource& s, ReadResult& r) : source(s), result(r) {}

  RecordSource& source;
  ReadResult& result;
  std::string record;
  std::size_t pos = 0;
  // A value was taken and no comma has followed it yet: the next comma is
  // its separator, not a null value.
  bool afterValue = false;
  // A closing quote was followed by something other than a separator.
  bool junkAfterQuote = false;
  int64_t repeatLeft = 0;
  Value repeated;
  // Where the value being taken starts in the record (after a repeat
  // count), and where a closing quote was followed by other characters.
  std::size_t valueStart = 0;
  std::size_t junkStart = 0;
  // How the last attempt to take a record ended (end, or a failed stream).
  LineRead lastTake = LineRead::line;

  bool advance() {
    lastTake = takeRecord(source, record);
    if (lastTake != LineRead::line) return false;
    pos = 0;
    result.lastLine = source.lineNumber;
    return true;
  }

  // The value at valueStart up to its next separator, as the user wrote it.
  std::string rawValue(std::size_t from) const {
    std::size_t end = from;
    while (end < record.size() && !isSeparator(record[end])) ++end;
    return record.substr(from, end - from);
  }

  // Records what could not be read, and what is probably wrong with it.
  void noteBadValue(std::size_t from, std::string value, ReadResult::Hint hint) {
    result.badValue = std::move(value);
    result.badRecord = record;
    result.badColumn = from + 1;
    if (result.badValue.find(kByteOrderMark) != std::string::npos) {
      hint = ReadResult::Hint::byteOrderMark;
    } else if (from >= 2 && record[from - 1] == ',' && isDecimalDigit(record[from - 2]) &&
               !result.badValue.empty() && isDecimalDigit(result.badValue[0])) {
      hint = ReadResult::Hint::decimalComma;
    } else if (hint == ReadResult::Hint::none) {
      for (char c : result.badValue) {
        if (isLetter(c)) hint = ReadResult::Hint::letter;
      }
    }
    result.hint = hint;
  }

  // After a real item took `value`: the digits before a comma that a digit
  // follows, in a record with blank separators, are probably the whole
  // part of a number written with a decimal comma.
  void checkDecimalComma(const Value& value) {
    if (result.decimalCommaColumn != 0 || value.quoted || !isWholeNumber(value.text)) return;
    if (pos + 1 >= record.size() || record[pos] != ',' || !isDecimalDigit(record[pos + 1])) return;
    if (!hasBlankBetweenValues(record)) return;
    result.decimalCommaLine = source.lineNumber;
    result.decimalCommaColumn = pos + 1;
    std::size_t end = pos + 1;
    while (end < record.size() && isDecimalDigit(record[end])) ++end;
    result.decimalCommaText = record.substr(valueStart, end - valueStart);
  }

  // The unread rest of the record, for a read that left values over.
  void noteUnread(ReadItem::Kind lastKind) {
    result.unreadAfterText = lastKind == ReadItem::Kind::text && !repeated.null;
    result.unreadAfterQuote = result.unreadAfterText && repeated.quoted && pos < record.size() &&
                              !isSeparator(record[pos]);
    if (repeatLeft > 0) {
      result.unread = std::to_string(repeatLeft) + "*" + repeated.text;
      result.unreadColumn = valueStart + 1;
      return;
    }
    std::size_t from = pos;
    while (from < record.size() && (isBlank(record[from]) || record[from] == ',')) ++from;
    std::size_t end = record.find('/', from);
    if (end == std::string::npos) end = record.size();
    while (end > from && isBlank(record[end - 1])) --end;
    result.unread = record.substr(from, end - from);
    result.unreadColumn = from + 1;
  }

  void noteValue() {
    if (result.firstLine == 0) {
      result.firstLine = source.lineNumber;
    } else if (source.lineNumber != result.firstLine) {
      result.continued = true;
    }
  }

  // Moves to the start of the next value, passing over blanks, separating
  // commas and records that hold nothing more.
  Step findValue() {
    if (junkAfterQuote) return Step::syntaxError;
    for (;;) {
      while (pos < record.size() && isBlank(record[pos])) ++pos;
      if (pos >= record.size()) {
        if (!advance()) return Step::endOfFile;
        continue;
      }
      if (result.firstLine == 0) result.firstLine = source.lineNumber;
      const char c = record[pos];
      if (c == ',') {
        ++pos;
        if (afterValue) {
          afterValue = false;
          continue;
        }
        noteValue();
        return Step::null;
      }
      if (c == '/') {
        ++pos;
        return Step::slash;
      }
      noteValue();
      return Step::value;
    }
  }

  // A quoted text starting at pos; it may run over record ends, and the
  // delimiter written twice within a record stands for one delimiter.
  bool readQuoted(std::string& text) {
    const char delimiter = record[pos++];
    text.clear();
    for (;;) {
      if (pos >= record.size()) {
        if (result.openQuoteLine == 0) result.openQuoteLine = source.lineNumber;
        if (!advance()) return false;
        result.continued = true;
        continue;
      }
      const std::size_t close = record.find(delimiter, pos);
      if (close == std::string::npos) {
        text.append(record, pos, std::string::npos);
        pos = record.size();
        continue;
      }
      text.append(record, pos, close - pos);
      if (close + 1 < record.size() && record[close + 1] == delimiter) {
        text += delimiter;
        pos = close + 2;
        continue;
      }
      pos = close + 1;
      junkAfterQuote = pos < record.size() && !isSeparator(record[pos]);
      if (junkAfterQuote) junkStart = pos;
      return true;
    }
  }

  // Takes the value (with its repeat count) that starts at pos into
  // `repeated`; the kind of the item it goes to decides whether a quote
  // opens a quoted text.
  ReadOutcome takeValue(ReadItem::Kind kind, ConvertStatus& status) {
    status = ConvertStatus::ok;
    int64_t count = 1;
    valueStart = pos;
    std::size_t end = pos;
    while (end < record.size() && isDecimalDigit(record[end])) ++end;
    if (end > pos && end < record.size() && record[end] == '*') {
      int32_t r = 0;
      const auto [ptr, ec] = std::from_chars(record.data() + pos, record.data() + end, r);
      (void)ptr;
      if (ec != std::errc() || r == 0) {
        status = r == 0 && ec == std::errc() ? ConvertStatus::syntaxError
                                             : ConvertStatus::conversionError;
        noteBadValue(pos, rawValue(pos), ReadResult::Hint::none);
        return ReadOutcome::error;
      }
      count = r;
      pos = end + 1;
      valueStart = pos;
      if (pos >= record.size() || isSeparator(record[pos])) {
        repeated.null = true;
        repeatLeft = count;
        return ReadOutcome::complete;
      }
    }
    repeated.null = false;
    if (isQuote(record[pos])) {
      if (kind != ReadItem::Kind::text) {
        status = ConvertStatus::syntaxError;
        noteBadValue(pos, rawValue(pos), ReadResult::Hint::quoted);
        return ReadOutcome::error;
      }
      repeated.quoted = true;
      if (!readQuoted(repeated.text)) return ReadOutcome::endOfFile;
    } else {
      end = pos;
      while (end < record.size() && !isSeparator(record[end])) ++end;
      repeated.quoted = false;
      repeated.text.assign(record, pos, end - pos);
      pos = end;
    }
    repeatLeft = count;
    return ReadOutcome::complete;
  }

  bool restHoldsValues() const {
    for (std::size_t i = pos; i < record.size(); ++i) {
      const char c = record[i];
      if (c == '/') return false;
      if (!isBlank(c) && c != ',') return true;
    }
    return false;
  }
};

ConvertStatus assign(const ReadItem& item, const Value& value) {
  switch (item.kind) {
    case ReadItem::Kind::text:
      if (item.textValue != nullptr) {
        std::string& t = *item.textValue;
        t.assign(value.text, 0, item.length);
        t.resize(item.length, ' ');
      }
      return ConvertStatus::ok;
    case ReadItem::Kind::integer: {
      if (value.quoted) return ConvertStatus::syntaxError;
      int32_t v = 0;
      const ConvertStatus s = convertInteger(value.text, &v);
      if (s == ConvertStatus::ok && item.integerValue != nullptr) *item.integerValue = v;
      return s;
    }
    case ReadItem::Kind::real: {
      if (value.quoted) return ConvertStatus::syntaxError;
      float v = 0.0f;
      const ConvertStatus s = convertReal(value.text, &v);
      if (s == ConvertStatus::ok && item.realValue != nullptr) *item.realValue = v;
      return s;
    }
  }
  return ConvertStatus::syntaxError;
}

}  // namespace

RecordSource fileSource(std::istream& in, const std::string& fileName, int unit) {
  RecordSource source;
  source.stream = &in;
  source.fileName = fileName;
  source.unit = unit;
  return source;
}

RecordSource fieldSource(const std::string& text) {
  RecordSource source;
  source.field = text;
  source.fileName = "Internal List-Directed Read";
  source.unit = -5;
  return source;
}

namespace {

// Running out of records is the end of the file only when the source
// really ended: a stream that failed, or a line too long to take, is an
// error of its own, reported at the line it could not take.
ReadResult endOfRecords(const Reader& reader, const RecordSource& source, ReadResult& result) {
  if (reader.lastTake == LineRead::readError || reader.lastTake == LineRead::tooLong) {
    result.outcome = ReadOutcome::error;
    result.streamFailed = true;
    result.lastLine = source.lineNumber + 1;
    result.report =
        report(source, reader.lastTake == LineRead::readError ? "read error" : "line too long");
    return result;
  }
  result.outcome = ReadOutcome::endOfFile;
  result.report = report(source, "end-of-file during read");
  return result;
}

ReadResult readFailure(const RecordSource& source, ConvertStatus status, int item,
                       ReadResult& result) {
  result.outcome = ReadOutcome::error;
  result.badItem = item;
  result.report =
      report(source, status == ConvertStatus::conversionError ? "input conversion error"
                                                              : "list-directed I/O syntax error");
  return result;
}

void countSatisfied(const RecordSource& source, bool kept, int i, ReadResult& result) {
  if (kept && i < 64) result.keptItems |= uint64_t{1} << i;
  if (source.lineNumber == result.firstLine) ++result.satisfiedOnFirstLine;
  ++result.satisfied;
}

// What reading one item came to: a value to assign, a null value (the item
// keeps its value), a slash that ends the read, the end of the records or a
// failure.
enum class ItemStep { next, nullValue, slash, endOfFile, failed };

// Finds the next value when no repeat count is running and takes it.
ItemStep takeNextValue(Reader& reader, const ReadItem& item, ConvertStatus& status) {
  const Step step = reader.findValue();
  if (step == Step::endOfFile) return ItemStep::endOfFile;
  if (step == Step::syntaxError) {
    reader.noteBadValue(reader.junkStart, reader.rawValue(reader.junkStart),
                        ReadResult::Hint::junkAfterQuote);
    status = ConvertStatus::syntaxError;
    return ItemStep::failed;
  }
  if (step == Step::slash) return ItemStep::slash;
  if (step == Step::null) return ItemStep::nullValue;
  const ReadOutcome taken = reader.takeValue(item.kind, status);
  if (taken == ReadOutcome::endOfFile) return ItemStep::endOfFile;
  if (taken == ReadOutcome::error) return ItemStep::failed;
  reader.afterValue = true;
  return ItemStep::next;
}

// Assigns the current (possibly repeated) value to an item.
ItemStep assignValue(Reader& reader, const ReadItem& item, ConvertStatus& status) {
  --reader.repeatLeft;
  if (reader.repeated.null) return ItemStep::next;
  status = assign(item, reader.repeated);
  if (status != ConvertStatus::ok) {
    reader.noteBadValue(reader.valueStart, reader.rawValue(reader.valueStart),
                        reader.repeated.quoted ? ReadResult::Hint::quoted : ReadResult::Hint::none);
    return ItemStep::failed;
  }
  if (item.kind == ReadItem::Kind::real) reader.checkDecimalComma(reader.repeated);
  return ItemStep::next;
}

}  // namespace

ReadResult readRecord(RecordSource& source, std::span<const ReadItem> items) {
  ReadResult result;
  // Every read of a text field starts again at its beginning.
  if (source.stream == nullptr) source.fieldTaken = false;
  Reader reader(source, result);
  if (!reader.advance()) return endOfRecords(reader, source, result);

  const int n = static_cast<int>(items.size());
  for (int i = 0; i < n; ++i) {
    const ReadItem& item = items[static_cast<std::size_t>(i)];
    ConvertStatus status = ConvertStatus::ok;
    ItemStep step = reader.repeatLeft == 0 ? takeNextValue(reader, item, status) : ItemStep::next;
    if (step == ItemStep::next) step = assignValue(reader, item, status);
    if (step == ItemStep::endOfFile) return endOfRecords(reader, source, result);
    if (step == ItemStep::failed) return readFailure(source, status, i, result);
    if (step == ItemStep::slash) {
      result.slash = true;
      for (int k = i; k < n && k < 64; ++k) result.keptItems |= uint64_t{1} << k;
      break;
    }
    countSatisfied(source, step == ItemStep::nullValue || reader.repeated.null, i, result);
  }
  result.restColumn = (result.slash ? reader.pos - 1 : reader.pos) + 1;
  if (!result.slash) {
    result.leftover = reader.repeatLeft > 0 || reader.restHoldsValues();
    if (result.leftover && n > 0) reader.noteUnread(items[static_cast<std::size_t>(n - 1)].kind);
  }
  return result;
}

}  // namespace eco
