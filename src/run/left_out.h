#pragma once
// Tells the user (standard error) about an ecotope that a pass leaves out:
// "warning: ecotope <code> (<name>): left out of the <report|summary
// tables>: <reason>". The passes call these where they skip an ecotope, so
// only a pass that runs gives its warnings.

#include "input/tables.h"

namespace eco {

// The summary pass leaves out an ecotope without reference stations.
void warnLeftOutOfSummary(const SurveyTables& t, int e);
// The report pass leaves out an ecotope without assessment stations, with
// fewer than three reference stations, or whose assessment surface is not
// above half the mean reference surface.
void warnLeftOutOfReport(const SurveyTables& t, int e);

}  // namespace eco
