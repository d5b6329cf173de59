#pragma once
// Which ecotopes each pass takes, and why it leaves one out. The passes,
// the guards, the progress line, the closing line and the left-out warnings
// all ask here, so they always agree.

#include "input/tables.h"

namespace eco {

// Why a pass leaves an ecotope out; `taken` when it does not.
enum class LeftOut {
  taken,
  noReference,      // no reference station
  noAssessment,     // no assessment station
  fewReferences,    // fewer than three reference stations
  smallAssessment,  // assessment surface not above half the mean reference surface
};

// The summary pass takes every ecotope with a reference station.
LeftOut summaryLeftOut(const StationTable& stations, int e);
// The report pass: an assessment station, three reference stations and an
// assessment surface above half the mean reference station surface. The
// reasons are checked in the order listed in LeftOut.
LeftOut reportLeftOut(const StationTable& stations, int e);

inline bool eligibleForSummary(const StationTable& stations, int e) {
  return summaryLeftOut(stations, e) == LeftOut::taken;
}
inline bool eligibleForReport(const StationTable& stations, int e) {
  return reportLeftOut(stations, e) == LeftOut::taken;
}

}  // namespace eco
