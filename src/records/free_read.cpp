#include "records/free_read.h"

#include <charconv>
#include <string_view>
#include <system_error>

#include "records/value_convert.h"

namespace eco {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSeparator(char c) { return isBlank(c) || c == ',' || c == '/'; }
bool isQuote(char c) { return c == '\'' || c == '"'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The next record of the source, without its line end. A carriage return
// directly before the line feed (or ending the file) is part of the line
// end: survey files written on other systems end their lines with CR LF.
bool takeRecord(RecordSource& source, std::string& record) {
  if (source.stream == nullptr) {
    if (source.fieldTaken) return false;
    source.fieldTaken = true;
    record = source.field;
    source.lineNumber = 1;
    return true;
  }
  if (!std::getline(*source.stream, record)) return false;
  if (!record.empty() && record.back() == '\r') record.pop_back();
  ++source.lineNumber;
  return true;
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

  bool advance() {
    if (!takeRecord(source, record)) return false;
    pos = 0;
    result.lastLine = source.lineNumber;
    return true;
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
      return true;
    }
  }

  // Takes the value (with its repeat count) that starts at pos into
  // `repeated`; the kind of the item it goes to decides whether a quote
  // opens a quoted text.
  ReadOutcome takeValue(ReadItem::Kind kind, ConvertStatus& status) {
    status = ConvertStatus::ok;
    int64_t count = 1;
    std::size_t end = pos;
    while (end < record.size() && isDigit(record[end])) ++end;
    if (end > pos && end < record.size() && record[end] == '*') {
      int32_t r = 0;
      const auto [ptr, ec] = std::from_chars(record.data() + pos, record.data() + end, r);
      (void)ptr;
      if (ec != std::errc()) {
        status = ConvertStatus::conversionError;
        return ReadOutcome::error;
      }
      if (r == 0) {
        status = ConvertStatus::syntaxError;
        return ReadOutcome::error;
      }
      count = r;
      pos = end + 1;
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

ReadResult readRecord(RecordSource& source, std::span<const ReadItem> items) {
  ReadResult result;
  auto endOfFile = [&]() {
    result.outcome = ReadOutcome::endOfFile;
    result.report = report(source, "end-of-file during read");
    return result;
  };
  auto failed = [&](ConvertStatus status) {
    result.outcome = ReadOutcome::error;
    result.report =
        report(source, status == ConvertStatus::conversionError ? "input conversion error"
                                                                : "list-directed I/O syntax error");
    return result;
  };

  // Every read of a text field starts again at its beginning.
  if (source.stream == nullptr) source.fieldTaken = false;
  Reader reader(source, result);
  if (!reader.advance()) return endOfFile();

  bool slash = false;
  for (const ReadItem& item : items) {
    if (reader.repeatLeft == 0) {
      const Step step = reader.findValue();
      if (step == Step::endOfFile) return endOfFile();
      if (step == Step::syntaxError) return failed(ConvertStatus::syntaxError);
      if (step == Step::slash) {
        slash = true;
        break;
      }
      if (step == Step::null) {
        ++result.satisfied;
        continue;
      }
      ConvertStatus status = ConvertStatus::ok;
      const ReadOutcome taken = reader.takeValue(item.kind, status);
      if (taken == ReadOutcome::endOfFile) return endOfFile();
      if (taken == ReadOutcome::error) return failed(status);
      reader.afterValue = true;
    }
    --reader.repeatLeft;
    if (!reader.repeated.null) {
      const ConvertStatus status = assign(item, reader.repeated);
      if (status != ConvertStatus::ok) return failed(status);
    }
    ++result.satisfied;
  }
  if (!slash) result.leftover = reader.repeatLeft > 0 || reader.restHoldsValues();
  return result;
}

}  // namespace eco
