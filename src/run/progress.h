#pragma once
// The progress display: when standard error is a terminal, one status line
// that rewrites itself ("summary tables: ecotope 2 of 5, 40% done, about
// 1 min left"). It is cleared before anything else is written to standard
// output or standard error and drawn again after, and erased at the end.
// When standard error is not a terminal nothing of it is written. Only the
// main thread calls it.

#include <chrono>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "input/tables.h"
#include "run/run_settings.h"

namespace eco {

// Forwards everything to another buffer, clearing the status line first.
struct ClearingBuffer : std::streambuf {
  std::streambuf* target = nullptr;
  struct ProgressDisplay* display = nullptr;
  int overflow(int c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;
};

struct ProgressDisplay {
  // `terminal`: standard error is a terminal (the display is active);
  // `out` receives the status line (standard error).
  ProgressDisplay(const RunSettings& settings, const SurveyTables& tables, bool summary,
                  bool report, bool terminal, std::ostream* out);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  // The summary pass starts ecotope e (0-based index in the ecotope table).
  void summaryEcotope(int e);
  // The draws of target k (1-based) of the current summary ecotope begin.
  void summaryTarget(int k);
  // The report pass starts (done = false) or has finished (true) ecotope e.
  void reportEcotope(int e, bool done);
  // Erases the status line for good.
  void finish();

  // Removes the status line from the screen (it is drawn again on the next
  // update or after a message).
  void clearLine();
  void redraw();

  bool active = false;
  std::ostream* out = nullptr;

 private:
  // Resets the shares when the pass changes.
  void beginPass(const char* name, int count, const std::vector<double>& work);
  void update(bool force);
  std::string statusText() const;

  std::string passName;
  int ecotopeOrdinal = 0, ecotopeCount = 0;
  double passWork = 0, workDone = 0, currentWeight = 0;
  std::vector<double> summaryWork, reportWork;  // per ecotope
  std::vector<int> summaryOrdinal, reportOrdinal;
  int summaryCount = 0, reportCount = 0;
  std::chrono::steady_clock::time_point passStart, lastDraw;
  bool drawn = false;
  bool finished = false;
  ClearingBuffer coutFilter;
  std::streambuf* savedCout = nullptr;
};

}  // namespace eco
