#pragma once
// The classes of the summary tables put in order before their quantiles
// are taken: the sorting, the bulk of the quantiles' work, then runs on
// every thread, while the quantile routine itself (which may print) still
// runs on the calling thread in table order.

#include "stats/class_tables.h"

namespace eco {

// Sorts the values of every class, on `threads` threads, wherever the
// quantiles of the tables provably stay the same (orderForQuantiles), so
// that the quantile routine, called afterwards in table order, finds them
// ready to use. A class it does not sort keeps its arrival order.
void orderClassTables(ClassTables& tables, int threads = 1);

}  // namespace eco
