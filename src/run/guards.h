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

// Station draws one pseudo-sample with the given target is expected to
// make: target / meansurf + 1, capped at 2 x maxstat, and the cap itself
// when the summed surface stops growing in 32 bits before the target.
double expectedDraws(float target, float meansurf, float largestSurface, int32_t maxstat);

// The summed surface at which adding `surface` no longer changes a 32-bit
// sum (infinity when it always does).
float stallingSum(float surface);

// The largest surface of a station group (0 for an empty group).
float largestSurface(const StationGroup& group);

void warnRunaway(const RunSettings& settings, const SurveyTables& tables, bool summary,
                 bool report);
void warnOverflow(const SurveyTables& tables, bool summary, bool report);

}  // namespace eco
