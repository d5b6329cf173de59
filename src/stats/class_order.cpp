#include "stats/class_order.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <vector>

#include "numeric/quantile.h"
#include "stats/parallel.h"

namespace eco {

void orderClassTables(ClassTables& tables, int threads) {
  std::vector<std::vector<float>*> rows;
  for (auto* table : {&tables.simclass, &tables.densclass, &tables.nspclass, &tables.biomclass}) {
    for (std::vector<float>& row : *table) rows.push_back(&row);
  }
  // The quantiles read a class padded with missing values (classValues),
  // which go last, behind the ones the sort puts there.
  auto order = [&](std::size_t r) {
    orderForQuantiles(*rows[r], static_cast<int32_t>(kProportions.size()), kProportions.data());
  };
  const int workers = static_cast<int>(
      std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), rows.size()));
  std::atomic<std::size_t> next{0};
  runShared(workers, [&](int) {
    for (std::size_t r = next.fetch_add(1); r < rows.size(); r = next.fetch_add(1)) order(r);
  });
}

}  // namespace eco
