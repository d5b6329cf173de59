#pragma once
// The target surfaces of the pseudo-samples and the number of station draws
// they are expected to take: the draws use the targets, the runaway warning
// and the progress display the estimate, all from here.

#include <cstdint>

#include "input/tables.h"

namespace eco {

// The summary pass's target k = 1..n: (k - 1/2) x meansurf, formed in
// extended precision and rounded once to float.
float summaryTarget(int32_t k, float meansurf);
// The report pass's target: the assessment surface less half the mean
// reference surface, formed in extended precision and rounded once.
float reportTarget(const StationGroup& reference, const StationGroup& assessment);

// Station draws one pseudo-sample with the given target is expected to
// make: target / meansurf + 1, capped at 2 x maxstat, and the cap itself
// when the summed surface stops growing in 32 bits before the target.
double expectedDraws(float target, float meansurf, float largestSurface, int32_t maxstat);

// The summed surface at which adding `surface` no longer changes a 32-bit
// sum (infinity when it always does).
float stallingSum(float surface);

// The largest surface of a station group (0 for an empty group).
float largestSurface(const StationGroup& group);

// The expected draws of one pseudo-sample of every summary target of the
// ecotope, summed over the targets; and of one of the report pass.
double summaryDraws(const StationGroup& reference, int32_t maxstat);
double reportDraws(const StationGroup& reference, const StationGroup& assessment, int32_t maxstat);

}  // namespace eco
