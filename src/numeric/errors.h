#pragma once
// The error facility of the numerical routines: a stack of active routine
// names, error types and codes per level, message templates with
// placeholders, printing in a fixed layout on the error unit, and stops.

#include <cstdint>
#include <ostream>
#include <string_view>

namespace eco {

void E1PSH(std::string_view name);
void E1POP(std::string_view name);
void E1VALI(int32_t k, int32_t value);
void E1VALR(int32_t k, float value);
void E1VALS(int32_t k, std::string_view text);
void E1MES(int32_t type, int32_t code, std::string_view message);
int32_t N1RCD(int32_t iopt);

// Where the messages go (the console by default) and what a stop does (by
// default: flush the console and end the process with status 1). Tests
// replace both; a stop handler must not return normally.
void setErrorStream(std::ostream* out);
using StopHandler = void (*)();
void setStopHandler(StopHandler handler);
// Back to the state at program start (tests only).
void resetErrorFacility();

}  // namespace eco
