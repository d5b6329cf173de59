#pragma once
// Bray-Curtis similarity of two species profiles and the selection of the
// species that contribute most to a per-species measure.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace eco {

// Similarity of x and y over their common length; when contrib is not
// empty it receives each species' share of the dissimilarity.
float brayCurtis(std::span<const float> x, std::span<const float> y, std::span<float> contrib);

struct Contributor {
  int32_t species = -1;  // 0-based species index; -1: empty row
  float value = 0.0f;
  float plow = 0.0f;   // share of pseudo-samples not higher than observed
  float phigh = 0.0f;  // share of pseudo-samples higher than observed
};

// The positive list (largest values first) and the negative list (most
// negative first), each of at most listLength rows. Rows past the last
// species that qualifies are empty and are not stored: a list never holds
// more rows than there are species.
struct ContributorList {
  int64_t listLength = 0;
  std::vector<Contributor> positive;
  std::vector<Contributor> negative;
};

// v: observed per-species values (n = v.size()); m: per species s the K
// values of the pseudo-samples at m[s * K .. s * K + K - 1].
void selectContributors(std::span<const float> v, std::span<const float> m, int32_t K,
                        int64_t listLength, ContributorList& list);

// The two steps of selectContributors. The rows (species and values) follow
// from v alone; their chances then need only the listed species' values.
void chooseContributors(std::span<const float> v, int64_t listLength, ContributorList& list);
// valuesOf(s) gives the K pseudo-sample values of listed species s.
void attachChances(ContributorList& list, int32_t K,
                   const std::function<const float*(int32_t)>& valuesOf);

}  // namespace eco
