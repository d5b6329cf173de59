#pragma once
// The error facility of the numerical routines: a stack of active routine
// names, error types and codes per level, message templates with
// placeholders, printing in a fixed layout on the error unit, and stops.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace eco {

// Error types: 1 NOTE, 2 ALERT, 3 WARNING (printed when the routine called
// by the program returns), 4 FATAL, 5 TERMINAL (printed at once, stops when
// the raising routine returns), 6 WARNING and 7 FATAL (printed at once).

// Pushes a routine name (blank-padded to 32 characters), type and code 0.
void E1PSH(std::string_view name);
// Checks the name against the top level, hands an error on to the caller's
// level, prints and stops as the type says, and pops.
void E1POP(std::string_view name);
// Values for the placeholders %(Ik), %(Rk) and %(Lk), k = 1..9; the first
// value stored for a key wins until the next raise.
void E1VALI(int32_t k, int32_t value);
void E1VALR(int32_t k, float value);
void E1VALS(int32_t k, std::string_view text);  // k > 0: trailing blanks dropped
// Raises an error of the given type and code at the top level.
void E1MES(int32_t type, int32_t code, std::string_view message);
// The error code of the top level (iopt 0) or of the level just popped (1).
int32_t N1RCD(int32_t iopt);

// Where the messages go (the console by default) and what a stop does (by
// default: flush the console and end the process with status 1). Tests
// replace both; a stop handler must not return normally.
void setErrorStream(std::ostream* out);
using StopHandler = void (*)();
void setStopHandler(StopHandler handler);
// Back to the state at program start, stream and stop handler included
// (tests only).
void resetErrorFacility();

// The stream the messages go to, for the routines that print their own
// message (IMACH, UMACH).
std::ostream& errorStream();
// An integer right-justified in 6 characters, asterisks when it does not
// fit: the integer field of these messages.
std::string field6(int64_t value);
// Ends the run through the stop handler; never returns.
[[noreturn]] void stopRun();

}  // namespace eco
