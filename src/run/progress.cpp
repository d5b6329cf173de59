#include "run/progress.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "platform/interrupt.h"
#include "records/diagnostics.h"
#include "resample/draw_targets.h"
#include "stats/profile.h"

namespace eco {

int ClearingBuffer::overflow(int c) {
  if (display != nullptr) display->clearLine();
  return c == traits_type::eof() ? traits_type::not_eof(c) : target->sputc(static_cast<char>(c));
}

std::streamsize ClearingBuffer::xsputn(const char* s, std::streamsize n) {
  if (display != nullptr) display->clearLine();
  return target->sputn(s, n);
}

int ClearingBuffer::sync() { return target->pubsync(); }

namespace {

std::string durationText(double seconds) {
  const int64_t s = std::llround(seconds);
  if (s < 60) return std::to_string(s) + " s";
  if (s < 3600) return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
  return std::to_string(s / 3600) + " h " + std::to_string(s % 3600 / 60) + " min";
}

}  // namespace

ProgressDisplay::ProgressDisplay(const RunSettings& settings, const SurveyTables& t, bool summary,
                                 bool report, bool terminal, std::ostream* stream)
    : active(terminal), out(stream) {
  const std::size_t net = static_cast<std::size_t>(t.ecotopes.net());
  summaryWork.assign(net, 0.0);
  reportWork.assign(net, 0.0);
  summaryOrdinal.assign(net, 0);
  reportOrdinal.assign(net, 0);
  for (std::size_t e = 0; e < net; ++e) {
    const StationGroup& ref = t.stations.ecotope[e].group[kReference];
    const StationGroup& ass = t.stations.ecotope[e].group[kAssessment];
    if (summary && eligibleForSummary(t.stations, static_cast<int>(e))) {
      summaryWork[e] = summaryDraws(ref, settings.maxstat);
      summaryOrdinal[e] = ++summaryCount;
    }
    if (report && eligibleForReport(t.stations, static_cast<int>(e))) {
      reportWork[e] = reportDraws(ref, ass, settings.maxstat);
      reportOrdinal[e] = ++reportCount;
    }
  }
  if (!active) return;
  Diagnostics& d = diagnostics();
  d.beforeWrite = [this] { clearLine(); };
  d.afterWrite = [this] { redraw(); };
  // Standard output may be the same terminal: clear the line before any of
  // it (progress lines, messages of the numerical routines) is written.
  coutFilter.target = std::cout.rdbuf();
  coutFilter.display = this;
  savedCout = std::cout.rdbuf(&coutFilter);
}

ProgressDisplay::~ProgressDisplay() { finish(); }

void ProgressDisplay::beginPass(const char* name, int count, const std::vector<double>& work) {
  if (passName == name) return;
  passName = name;
  ecotopeCount = count;
  passWork = 0;
  for (double w : work) passWork += w;
  workDone = 0;
  currentWeight = 0;
  passStart = std::chrono::steady_clock::now();
}

// The progress calls come between the pieces of work of the main thread,
// where an interruption can stop it with every file closed.
void ProgressDisplay::summaryEcotope(int e) {
  platform::interruptionPoint();
  beginPass("summary tables", summaryCount, summaryWork);
  ecotopeOrdinal = summaryOrdinal[static_cast<std::size_t>(e)];
  currentWeight = 0;
  update(true);
}

void ProgressDisplay::summaryTarget(int k) {
  platform::interruptionPoint();
  workDone += currentWeight;
  currentWeight = k;  // about k station draws per pseudo-sample of target k
  update(false);
}

void ProgressDisplay::reportEcotope(int e, bool done) {
  platform::interruptionPoint();
  beginPass("report", reportCount, reportWork);
  ecotopeOrdinal = reportOrdinal[static_cast<std::size_t>(e)];
  if (done) workDone += reportWork[static_cast<std::size_t>(e)];
  update(!done);
}

std::string ProgressDisplay::statusText() const {
  const double share = passWork > 0 ? std::clamp(workDone / passWork, 0.0, 1.0) : 0.0;
  std::string text = passName + ": ecotope " + std::to_string(ecotopeOrdinal) + " of " +
                     std::to_string(ecotopeCount) + ", " +
                     std::to_string(static_cast<int>(share * 100)) + "% done";
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - passStart).count();
  if (share > 0.01 && elapsed > 1.0) {
    text += ", about " + durationText(elapsed / share * (1.0 - share)) + " left";
  }
  return text;
}

void ProgressDisplay::update(bool force) {
  if (!active || finished) return;
  const auto now = std::chrono::steady_clock::now();
  if (!force && drawn && now - lastDraw < std::chrono::milliseconds(100)) return;
  lastDraw = now;
  redraw();
}

void ProgressDisplay::redraw() {
  if (!active || finished || passName.empty()) return;
  *out << '\r' << statusText() << "\x1b[K";
  out->flush();
  drawn = true;
}

void ProgressDisplay::clearLine() {
  if (!drawn) return;
  drawn = false;
  *out << "\r\x1b[K";
  out->flush();
}

void ProgressDisplay::finish() {
  if (finished) return;
  finished = true;
  if (!active) return;
  clearLine();
  Diagnostics& d = diagnostics();
  d.beforeWrite = nullptr;
  d.afterWrite = nullptr;
  if (savedCout != nullptr) {
    std::cout.flush();
    std::cout.rdbuf(savedCout);
    savedCout = nullptr;
  }
}

}  // namespace eco
