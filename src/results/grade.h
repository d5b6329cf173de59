#pragma once
// The power of a reference distribution to detect a change, from the
// spread of its percentiles.

namespace eco {

enum class Grade { good, moderate, low, veryPoor };

// The word every writer prints: "GOOD", "MODERATE", "LOW", "VERY POOR".
inline const char* gradeWord(Grade g) {
  switch (g) {
    case Grade::good:
      return "GOOD";
    case Grade::moderate:
      return "MODERATE";
    case Grade::low:
      return "LOW";
    case Grade::veryPoor:
      break;
  }
  return "VERY POOR";
}

}  // namespace eco
