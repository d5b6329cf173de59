#pragma once
// Warnings before the passes about runs that would take far too long or
// whose totals overflow. Neither changes anything the run computes.

#include <cstdint>

#include "input/tables.h"
#include "run/run_settings.h"

namespace eco {

// A pass expected to make more station draws than this gets a warning
// (minutes to hours on one core).
inline constexpr double kRunawayDraws = 1e11;

void warnRunaway(const RunSettings& settings, const SurveyTables& tables, bool summary,
                 bool report);
void warnOverflow(const SurveyTables& tables, bool summary, bool report);

}  // namespace eco
