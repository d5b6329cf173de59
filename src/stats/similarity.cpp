#include "stats/similarity.h"

#include <cmath>

#include "numeric/evaluation.h"

namespace eco {

float brayCurtis(std::span<const float> x, std::span<const float> y, std::span<float> contrib) {
  const std::size_t n = x.size();
  const bool want = !contrib.empty();
  // The three sums are carried in extended precision.
  Extended m = 0, a = 0, b = 0;
  for (std::size_t s = 0; s < n; ++s) {
    m += x[s] > y[s] ? y[s] : x[s];
    a += x[s];
    b += y[s];
    if (want) contrib[s] = std::fabs(x[s] - y[s]);
  }
  const Extended total = a + b;
  // Two empty profiles give 0/0: a similarity that is not a number.
  const float similarity = static_cast<float>(2 * m / total);
  if (want) {
    for (std::size_t s = 0; s < n; ++s) contrib[s] = static_cast<float>(contrib[s] / total);
  }
  return similarity;
}

namespace {

constexpr float kPositiveMark = -999999.0f;
constexpr float kNegativeMark = 999999.0f;
constexpr float kMarkLimit = -900000.0f;

void setChances(Contributor& c, const float* values, int32_t K) {
  float count = 0.0f;
  for (int32_t k = 0; k < K; ++k) {
    if (values[k] > c.value) count = count + 1.0f;
  }
  c.phigh = count / static_cast<float>(K);
  c.plow = 1.0f - c.phigh;
}

}  // namespace

void chooseContributors(std::span<const float> v, int64_t listLength, ContributorList& list) {
  std::vector<float> w(v.begin(), v.end());
  const std::size_t n = w.size();
  list.listLength = listLength;
  list.positive.clear();
  list.negative.clear();
  // Each row takes a new species, so no list can outgrow the species.
  const int64_t rows = std::min<int64_t>(listLength, static_cast<int64_t>(n));
  for (int64_t r = 0; r < rows; ++r) {
    float best = 0.0f;
    int32_t idx = -1;
    for (std::size_t s = 0; s < n; ++s) {
      if (w[s] > best) {
        best = w[s];
        idx = static_cast<int32_t>(s);
      }
    }
    if (idx < 0) break;  // nothing qualifies any more
    w[static_cast<std::size_t>(idx)] = kPositiveMark;
    list.positive.push_back({idx, best, 0.0f, 0.0f});
  }
  for (int64_t r = 0; r < rows; ++r) {
    float best = 0.0f;
    int32_t idx = -1;
    for (std::size_t s = 0; s < n; ++s) {
      if (w[s] > kMarkLimit && w[s] < best) {
        best = w[s];
        idx = static_cast<int32_t>(s);
      }
    }
    if (idx < 0) break;
    w[static_cast<std::size_t>(idx)] = kNegativeMark;
    list.negative.push_back({idx, best, 0.0f, 0.0f});
  }
}

void attachChances(ContributorList& list, int32_t K,
                   const std::function<const float*(int32_t)>& valuesOf) {
  for (auto* rows : {&list.positive, &list.negative}) {
    for (Contributor& c : *rows) setChances(c, valuesOf(c.species), K);
  }
}

void selectContributors(std::span<const float> v, std::span<const float> m, int32_t K,
                        int64_t listLength, ContributorList& list) {
  chooseContributors(v, listLength, list);
  attachChances(list, K, [&](int32_t s) {
    return m.data() + static_cast<std::size_t>(s) * static_cast<std::size_t>(K);
  });
}

}  // namespace eco
