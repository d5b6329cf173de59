#include "numeric/errors.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "text/trim.h"

namespace eco {
namespace {

constexpr int kMaxLevels = 50;
constexpr std::size_t kNameLength = 32;
constexpr std::size_t kMaxMessage = 1024;
constexpr std::size_t kStoreCapacity = 300;
constexpr std::size_t kMaxText = 255;

struct Level {
  std::string name = std::string(kNameLength, ' ');
  int32_t type = 0;
  int32_t code = 0;
};

struct Placeholder {
  char letter;
  int32_t digit;
  std::string value;
};

// Per type 1..7: printed, stops, traceback. Index 0 stands for every type
// outside 1..7 (never printed or stopped by a setting, traceback yes).
struct TypeSetting {
  bool printed;
  bool stops;
  bool traceback;
};
constexpr std::array<TypeSetting, 8> kSettings = {{{false, false, true},
                                                   {false, false, true},
                                                   {false, false, true},
                                                   {true, false, true},
                                                   {true, true, true},
                                                   {true, true, true},
                                                   {true, false, true},
                                                   {true, true, true}}};

void defaultStop() {
  std::cout.flush();
  std::exit(1);
}

struct Facility {
  // Slot 0 unused; slots 1..50 are the levels and slot 51 receives the -1
  // marks when level 50 is popped.
  std::array<Level, kMaxLevels + 2> levels;
  int top = 1;
  std::string message;  // empty: no message pending
  std::vector<Placeholder> store;
  std::size_t storeUsed = 0;
  int32_t pendingStop = 0;  // type 6 or 7 once such an error was raised
  std::ostream* out = &std::cout;
  StopHandler stop = &defaultStop;

  Facility() { levels[1].name = padName("USER"); }

  static std::string padName(std::string_view name) {
    std::string s(name.substr(0, kNameLength));
    s.resize(kNameLength, ' ');
    return s;
  }
};

Facility& facility() {
  static Facility f;
  return f;
}

const TypeSetting& setting(int32_t type) {
  return (type >= 1 && type <= 7) ? kSettings[type] : kSettings[0];
}

std::string_view typeName(int32_t type) {
  static constexpr std::array<std::string_view, 8> names = {"UNKNOWN ", "NOTE    ", "ALERT   ",
                                                            "WARNING ", "FATAL   ", "TERMINAL",
                                                            "WARNING ", "FATAL   "};
  return (type >= 1 && type <= 7) ? names[type] : names[0];
}

std::string decimal(int64_t value) {
  std::array<char, 24> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return std::string(buf.data(), res.ptr);
}

void storeValue(char letter, int32_t k, std::string value) {
  Facility& f = facility();
  if (k < 1 || k > 9) return;
  if (f.storeUsed + value.size() + 8 > kStoreCapacity) return;
  f.storeUsed += value.size() + 8;
  f.store.push_back({letter, k, std::move(value)});
}

const std::string* findValue(char letter, int32_t digit) {
  for (const Placeholder& p : facility().store) {
    if (p.letter == letter && p.digit == digit) return &p.value;  // the earliest wins
  }
  return nullptr;
}

void clearStore() {
  Facility& f = facility();
  f.store.clear();
  f.storeUsed = 0;
}

bool isPlaceholderLetter(char c) {
  switch (c) {
    case 'A':
    case 'C':
    case 'D':
    case 'I':
    case 'K':
    case 'L':
    case 'R':
    case 'S':
    case 'Z':
      return true;
    default:
      return false;
  }
}

std::string substitute(std::string_view tmpl) {
  std::string msg = ".  ";
  std::size_t i = 0;
  while (i < tmpl.size() && msg.size() < kMaxMessage) {
    if (tmpl[i] == '%' && i + 4 < tmpl.size() && tmpl[i + 1] == '(' &&
        isPlaceholderLetter(tmpl[i + 2]) && tmpl[i + 3] >= '1' && tmpl[i + 3] <= '9' &&
        tmpl[i + 4] == ')') {
      if (const std::string* v = findValue(tmpl[i + 2], tmpl[i + 3] - '0')) {
        msg += *v;
        i += 5;
        continue;
      }
    }
    msg += tmpl[i];
    ++i;
  }
  if (msg.size() > kMaxMessage) msg.resize(kMaxMessage);
  return msg;
}

// Splits the message into printed lines. The first line has room for 59
// characters after " ERROR", head included; continuation lines hold at most
// 64. A line ends at "%/" (not printed) when the text before it fits, else,
// when the rest is too long, at a blank:
// - the first line stops just before the last blank within its room;
// - a continuation line's window of 64 characters is counted from the
//   blank at which the previous line broke, and the line runs up to and
//   including the last blank in that window. Its own text starts after
//   that blank (and after one more blank directly behind it), so it keeps
//   the blank at which it breaks: "... set to NaN " followed by
//   "(not a number).".
// With no blank in the window a line is cut at its limit.
std::vector<std::string> breakLines(const std::string& msg, std::size_t room) {
  std::vector<std::string> lines;
  const std::size_t size = msg.size();
  auto skipBreakBlanks = [&](std::size_t pos) {
    if (pos < size && msg[pos] == ' ') ++pos;
    if (pos < size && msg[pos] == ' ') ++pos;
    return pos;
  };

  std::size_t anchor = 0;  // where the current line's window starts
  std::size_t start = 0;   // where its text starts
  bool first = true;
  while (first || start < size) {
    const std::size_t width = first ? room : 64;
    const std::size_t limit = anchor + width;  // window is [anchor, limit)
    const std::size_t mark = msg.find("%/", start);
    if (mark != std::string::npos && mark <= limit) {
      lines.push_back(msg.substr(start, mark - start));
      start = anchor = mark + 2;
    } else if (size <= limit || (!first && size - start <= 64)) {
      lines.push_back(msg.substr(start));
      start = size;
    } else {
      std::size_t blank = std::string::npos;
      for (std::size_t p = limit; p-- > start;) {
        if (msg[p] == ' ') {
          blank = p;
          break;
        }
      }
      if (blank == std::string::npos) {
        const std::size_t end = std::min(limit, start + 64);
        lines.push_back(msg.substr(start, end - start));
        anchor = end;
        start = skipBreakBlanks(end);
      } else {
        lines.push_back(msg.substr(start, (first ? blank : blank + 1) - start));
        anchor = blank;
        start = skipBreakBlanks(blank);
      }
    }
    first = false;
  }
  return lines;
}

void printMessage() {
  Facility& f = facility();
  if (f.message.empty()) return;
  const Level& lev = f.levels[f.top];
  std::ostream& out = *f.out;

  std::string head(1, ' ');
  head += decimal(lev.code);
  head += " from ";
  head += lev.name.substr(0, lev.name.find(' '));
  if (f.message.compare(0, 3, ".  ") != 0) head += ".  ";
  const std::size_t room = head.size() < 59 ? 59 - head.size() : 0;
  const std::vector<std::string> lines = breakLines(f.message, room);

  out << '\n';
  out << " *** " << typeName(lev.type) << " ERROR" << head << lines[0] << '\n';
  for (std::size_t i = 1; i < lines.size(); ++i) out << " ***          " << lines[i] << '\n';
  f.message.clear();
  clearStore();

  if (setting(lev.type).traceback && f.top > 2) {
    out << "     Here is a traceback of subprogram calls in reverse order:\n";
    out << "     Routine name                    Error type  Error code\n";
    out << "     ------------                    ----------  ----------\n";
    for (int l = f.top; l >= 1; --l) {
      const Level& row = f.levels[l];
      out << "     " << row.name << field6(row.type) << "      " << field6(row.code);
      if (l > 2) out << "    (Called internally)";
      out << '\n';
    }
  }
  out.flush();
}

}  // namespace

std::ostream& errorStream() { return *facility().out; }

void stopRun() {
  facility().stop();
  // A handler must not return; if one does, the run still ends.
  defaultStop();
  std::abort();
}

void setErrorStream(std::ostream* out) { facility().out = out ? out : &std::cout; }

void setStopHandler(StopHandler handler) { facility().stop = handler ? handler : &defaultStop; }

void resetErrorFacility() { facility() = Facility(); }

void E1PSH(std::string_view name) {
  Facility& f = facility();
  if (f.top >= kMaxLevels) {
    E1VALI(1, kMaxLevels);
    E1MES(5, 1, "Error condition in E1PSH.  Push would cause stack level to exceed %(I1).");
    stopRun();
  }
  ++f.top;
  f.levels[f.top].name = Facility::padName(name);
  f.levels[f.top].type = 0;
  f.levels[f.top].code = 0;
}

void E1POP(std::string_view name) {
  Facility& f = facility();
  if (f.top <= 1) {
    E1PSH("E1POP ");
    E1VALS(1, name);
    E1MES(5, 1, "Error condition in E1POP.  Cannot pop from %(L1) because stack is empty.");
    stopRun();
  }
  if (Facility::padName(name) != f.levels[f.top].name) {
    const std::string stacked = f.levels[f.top].name;
    E1VALS(1, name);
    E1VALS(2, stacked);
    E1MES(5, 2, "Error condition in E1POP.  %(L1) does not match the name %(L2) in the stack.");
    stopRun();
  }

  const int32_t t = f.levels[f.top].type;
  if (t != 0) {
    if (t >= 2 && t <= 7) {
      f.levels[f.top - 1].type = t;
      f.levels[f.top - 1].code = f.levels[f.top].code;
    }
    const TypeSetting& s = setting(t);
    if (t >= 1 && t <= 4) {
      if (f.top == 2 && s.printed) printMessage();
      if (f.top == 2 && s.stops) stopRun();
    } else if (t >= 5 && t <= 7) {
      if (s.printed) printMessage();
      if (t == 5 && s.stops) stopRun();
      if (t != 5 && f.top == 2 && f.pendingStop != 0) {
        const int32_t pending = f.pendingStop;
        f.pendingStop = 0;
        if (setting(pending).stops) stopRun();
      }
    }
  }

  f.levels[f.top + 1].type = -1;
  f.levels[f.top + 1].code = -1;
  --f.top;
}

void E1VALI(int32_t k, int32_t value) { storeValue('I', k, decimal(value)); }

void E1VALR(int32_t k, float value) {
  std::string text;
  if (std::isnan(value)) {
    text = "NaN";
  } else if (std::isinf(value)) {
    text = value > 0 ? "Infinity" : "-Infinity";
  } else if (value == 0.0f) {
    text = "0.000000E+00";  // either sign of zero
  } else {
    std::array<char, 32> buf{};
    auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific, 6);
    text.assign(buf.data(), res.ptr);
    for (char& c : text) {
      if (c == 'e') c = 'E';
    }
  }
  storeValue('R', k, std::move(text));
}

void E1VALS(int32_t k, std::string_view text) {
  text = text.substr(0, kMaxText);
  std::string value;
  if (k > 0) {
    value = trimmed(text);
    if (value.empty()) value.assign(1, ' ');
  } else {
    value = std::string(text);
  }
  storeValue('L', k < 0 ? -k : k, std::move(value));
}

void E1MES(int32_t type, int32_t code, std::string_view message) {
  Facility& f = facility();
  Level& lev = f.levels[f.top];
  if (type != -1) lev.type = type;
  if (code >= 0) lev.code = code;
  if (type == 0 || code == 0) {
    f.message.clear();
  } else {
    if (!message.empty() && message != " ") f.message = substitute(message);
    if (type == 6 || type == 7) f.pendingStop = type;
    if (type >= 5 && type <= 7 && setting(type).printed) printMessage();
  }
  clearStore();
}

int32_t N1RCD(int32_t iopt) {
  Facility& f = facility();
  if (iopt == 0) return f.levels[f.top].code;
  if (iopt == 1) return f.levels[f.top + 1].code;
  f.message = ".  The argument passed to N1RCD must be 0 or 1.";
  f.levels[f.top].type = 5;
  f.levels[f.top].code = 1;
  printMessage();
  stopRun();
}

std::string field6(int64_t value) {
  std::string s = decimal(value);
  if (s.size() > 6) return std::string(6, '*');
  s.insert(0, 6 - s.size(), ' ');
  return s;
}

}  // namespace eco
