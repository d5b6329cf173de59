#include "output/html_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "output/export_text.h"

namespace eco {
namespace {

// Positions of the proportions in Percentiles.
constexpr std::size_t kP01 = 0, kP05 = 2, kP25 = 4, kP50 = 5, kP75 = 6, kP95 = 8, kP99 = 10;

// v with the given number of decimals ("0" where it does not fit) or in
// scientific notation with the given number of digits after the point
// (empty where it does not fit).
std::string fixed(double v, int decimals) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}
std::string scientific(double v, int digits) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, digits);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

// A coordinate of the drawings.
std::string coord(double v) {
  std::string s = fixed(v, 1);
  if (s == "-0.0") s = "0.0";
  return s;
}

std::string stripZeros(std::string s) {
  if (s.find('.') == std::string::npos) return s;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

const char* measureTitle(Measure m) {
  switch (m) {
    case Measure::similarity:
      return "Similarity";
    case Measure::density:
      return "Density";
    case Measure::biomass:
      return "Biomass";
    case Measure::species:
      break;
  }
  return "Number of species";
}

// The axis label of a measure: the program knows no units.
const char* measureAxis(Measure m) {
  switch (m) {
    case Measure::similarity:
      return "similarity";
    case Measure::density:
      return "density";
    case Measure::biomass:
      return "biomass";
    case Measure::species:
      break;
  }
  return "number of species";
}

const char* gradeClass(Grade grade) {
  switch (grade) {
    case Grade::good:
      return "good";
    case Grade::moderate:
      return "moderate";
    case Grade::low:
      return "low";
    case Grade::veryPoor:
      break;
  }
  return "poor";
}

bool finite(float v) { return std::isfinite(v); }

// A linear map from data to drawing coordinates.
struct Scale {
  double d0 = 0, d1 = 1, r0 = 0, r1 = 1;
  double operator()(double v) const { return r0 + (v - d0) / (d1 - d0) * (r1 - r0); }
};

// The data range [lo, hi] widened so that it never collapses to a point.
void widen(double& lo, double& hi) {
  if (hi > lo) return;
  const double pad = lo == 0 ? 1.0 : std::fabs(lo) * 0.1;
  lo -= pad;
  hi += pad;
}

double niceStep(double range, int count) {
  const double raw = range / count;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / magnitude;
  const double nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
  return nice * magnitude;
}

struct Ticks {
  std::vector<double> values;
  int decimals = 0;
};

Ticks ticks(double lo, double hi, int count) {
  Ticks t;
  const double step = niceStep(hi - lo, count);
  if (!(step > 0) || !std::isfinite(step)) return t;
  t.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + step * 1e-9; k += 1) {
    t.values.push_back(k * step);
    if (t.values.size() > 20) break;
  }
  return t;
}

std::string tickLabel(double v, int decimals) {
  if (std::fabs(v) >= 1e6) return scientific(v, 2);
  std::string s = fixed(v, decimals);
  if (s.rfind("-0", 0) == 0 && std::stod(s) == 0) s = s.substr(1);
  return s;
}

// --- Percentile bands against the surface --------------------------------

struct Band {
  std::size_t lower, upper;
  const char* opacity;
};
constexpr Band kBands[] = {{kP01, kP99, "0.16"}, {kP05, kP95, "0.28"}, {kP25, kP75, "0.45"}};

struct Observed {
  float surface = 0, value = 0;
};

// The runs of consecutive classes where both percentiles exist.
std::vector<std::vector<std::size_t>> runsOf(const std::vector<ClassRow>& rows, std::size_t m,
                                             std::size_t lower, std::size_t upper) {
  std::vector<std::vector<std::size_t>> runs;
  std::vector<std::size_t> run;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (finite(rows[i].surface) && finite(rows[i].q[m][lower]) && finite(rows[i].q[m][upper])) {
      run.push_back(i);
    } else if (!run.empty()) {
      runs.push_back(run);
      run.clear();
    }
  }
  if (!run.empty()) runs.push_back(run);
  return runs;
}

// The drawing area of a panel.
struct PanelBox {
  double W = 270, H = 200, left = 56, right = 10, top = 12, bottom = 42;
};
constexpr PanelBox kPanel;

// The scales of a panel: the surfaces from 0 and the values of every
// percentile, the observed value included.
struct PanelScales {
  Scale x, y;
  bool any = false;  // a percentile to draw
};

PanelScales panelScales(const EcotopeClasses& e, Measure measure, std::size_t m,
                        const Observed* observed) {
  double xlo = 0, xhi = 0, ylo = 0, yhi = 0;
  bool any = false, seen = false;  // seen: any value at all, the observed one included
  auto take = [&](double v) {
    ylo = seen ? std::min(ylo, v) : v;
    yhi = seen ? std::max(yhi, v) : v;
    seen = true;
  };
  for (const ClassRow& row : e.rows) {
    if (!finite(row.surface)) continue;
    xhi = std::max(xhi, static_cast<double>(row.surface));
    for (float v : row.q[m]) {
      if (!finite(v)) continue;
      take(v);
      any = true;
    }
  }
  if (observed != nullptr) {
    xhi = std::max(xhi, static_cast<double>(observed->surface));
    take(observed->value);
  }
  // The value axis spans the data, so that narrow bands stay readable; it
  // stops at 0 and (for the similarity) at 1 where the values do.
  const double dataLo = ylo, dataHi = yhi;
  widen(ylo, yhi);
  const double pad = (yhi - ylo) * 0.08;
  ylo -= pad;
  yhi += pad;
  if (dataLo >= 0 && ylo < 0) ylo = 0;
  if (measure == Measure::similarity && dataHi <= 1 && yhi > 1) yhi = 1;
  widen(xlo, xhi);
  xhi += (xhi - xlo) * 0.04;
  const PanelBox& b = kPanel;
  return {{xlo, xhi, b.left, b.W - b.right}, {ylo, yhi, b.H - b.bottom, b.top}, any};
}

std::string panelStart(const EcotopeClasses& e, Measure measure) {
  const PanelBox& b = kPanel;
  return "<svg class=\"band\" data-ecotope=\"" + std::to_string(e.etcode) + "\" data-measure=\"" +
         measureName(measure) + "\" width=\"" + coord(b.W) + "\" height=\"" + coord(b.H) +
         "\" viewBox=\"0 0 " + coord(b.W) + " " + coord(b.H) + "\" role=\"img\" aria-label=\"" +
         measureTitle(measure) + " percentiles against surface\">" + "<rect class=\"frame\" x=\"" +
         coord(b.left) + "\" y=\"" + coord(b.top) + "\" width=\"" + coord(b.W - b.left - b.right) +
         "\" height=\"" + coord(b.H - b.top - b.bottom) + "\"/>";
}

// Axes with ticks and labels.
std::string panelAxes(const PanelScales& sc, Measure measure) {
  const PanelBox& b = kPanel;
  const Ticks xt = ticks(sc.x.d0, sc.x.d1, 4), yt = ticks(sc.y.d0, sc.y.d1, 5);
  std::string s;
  for (double v : yt.values) {
    const std::string py = coord(sc.y(v));
    s += "<line class=\"grid\" x1=\"" + coord(b.left) + "\" x2=\"" + coord(b.W - b.right) +
         "\" y1=\"" + py + "\" y2=\"" + py + "\"/>";
    s += "<text class=\"tick\" x=\"" + coord(b.left - 4) + "\" y=\"" + coord(sc.y(v) + 3.5) +
         "\" text-anchor=\"end\">" + tickLabel(v, yt.decimals) + "</text>";
  }
  for (double v : xt.values) {
    const std::string px = coord(sc.x(v));
    s += "<line class=\"axis\" x1=\"" + px + "\" x2=\"" + px + "\" y1=\"" + coord(b.H - b.bottom) +
         "\" y2=\"" + coord(b.H - b.bottom + 4) + "\"/>";
    s += "<text class=\"tick\" x=\"" + px + "\" y=\"" + coord(b.H - b.bottom + 15) +
         "\" text-anchor=\"middle\">" + tickLabel(v, xt.decimals) + "</text>";
  }
  s += "<text class=\"label\" x=\"" + coord((b.left + b.W - b.right) / 2) + "\" y=\"" +
       coord(b.H - 6) + "\" text-anchor=\"middle\">surface</text>";
  s += "<text class=\"label\" transform=\"translate(14 " + coord((b.top + b.H - b.bottom) / 2) +
       ") rotate(-90)\" text-anchor=\"middle\">" + measureAxis(measure) + "</text>";
  if (!sc.any) {
    s += "<text class=\"note\" x=\"" + coord((b.left + b.W - b.right) / 2) + "\" y=\"" +
         coord((b.top + b.H - b.bottom) / 2) + "\" text-anchor=\"middle\">no values</text>";
  }
  return s;
}

// The points of a run of classes at percentile p, in class order or
// backwards.
std::string runPoints(const EcotopeClasses& e, const std::vector<std::size_t>& run, std::size_t m,
                      std::size_t p, const PanelScales& sc, bool backwards) {
  std::string points;
  for (std::size_t k = 0; k < run.size(); ++k) {
    const ClassRow& r = e.rows[run[backwards ? run.size() - 1 - k : k]];
    points += coord(sc.x(r.surface)) + "," + coord(sc.y(r.q[m][p])) + " ";
  }
  return points;
}

// The bands, widest first; a class standing alone is drawn as a bar.
std::string panelBands(const EcotopeClasses& e, std::size_t m, const PanelScales& sc) {
  std::string s;
  for (const Band& band : kBands) {
    for (const auto& run : runsOf(e.rows, m, band.lower, band.upper)) {
      if (run.size() == 1) {
        const ClassRow& r = e.rows[run[0]];
        const double top = sc.y(r.q[m][band.upper]), bottom = sc.y(r.q[m][band.lower]);
        s += "<rect class=\"b\" fill-opacity=\"" + std::string(band.opacity) + "\" x=\"" +
             coord(sc.x(r.surface) - 4) + "\" y=\"" + coord(top) + "\" width=\"8\" height=\"" +
             coord(std::max(bottom - top, 1.0)) + "\"/>";
        continue;
      }
      std::string points =
          runPoints(e, run, m, band.upper, sc, false) + runPoints(e, run, m, band.lower, sc, true);
      points.pop_back();
      s += "<polygon class=\"b\" fill-opacity=\"" + std::string(band.opacity) + "\" points=\"" +
           points + "\"/>";
    }
  }
  return s;
}

std::string panelMedian(const EcotopeClasses& e, std::size_t m, const PanelScales& sc) {
  std::string s;
  for (const auto& run : runsOf(e.rows, m, kP50, kP50)) {
    if (run.size() == 1) {
      const ClassRow& r = e.rows[run[0]];
      const std::string py = coord(sc.y(r.q[m][kP50]));
      s += "<line class=\"median\" x1=\"" + coord(sc.x(r.surface) - 5) + "\" x2=\"" +
           coord(sc.x(r.surface) + 5) + "\" y1=\"" + py + "\" y2=\"" + py + "\"/>";
      continue;
    }
    std::string points = runPoints(e, run, m, kP50, sc, false);
    points.pop_back();
    s += "<polyline class=\"median\" points=\"" + points + "\"/>";
  }
  return s;
}

std::string observedMark(const Observed& observed, const PanelScales& sc) {
  const double px = sc.x(observed.surface), py = sc.y(observed.value);
  return "<path class=\"obs\" d=\"M" + coord(px) + " " + coord(py - 6) + " L" + coord(px + 6) +
         " " + coord(py) + " L" + coord(px) + " " + coord(py + 6) + " L" + coord(px - 6) + " " +
         coord(py) + " Z\"><title>assessment sample: " + readableNumber(observed.value) +
         " at surface " + readableNumber(observed.surface) + "</title></path>";
}

std::string bandPanel(const EcotopeClasses& e, Measure measure,
                      const std::optional<Observed>& observed) {
  const std::size_t m = tableIndex(measure);
  const bool showObserved = observed && finite(observed->surface) && finite(observed->value);
  const Observed* shown = showObserved ? &*observed : nullptr;
  const PanelScales sc = panelScales(e, measure, m, shown);
  std::string s = panelStart(e, measure) + panelAxes(sc, measure) + panelBands(e, m, sc) +
                  panelMedian(e, m, sc);
  if (shown != nullptr) s += observedMark(*shown, sc);
  return s + "</svg>";
}

// --- The assessment rows -------------------------------------------------

// The reference distribution as a box (25-75) with a median, whiskers to 5
// and 95 and thin ends to 1 and 99, and the observed value as a diamond.
std::string boxPlot(const EcotopeAssessment& e, const MeasureAssessment& m) {
  constexpr double W = 240, H = 34, pad = 10;
  const Percentiles& q = m.percentiles;
  double lo = 0, hi = 0;
  bool any = false;
  auto take = [&](float v) {
    if (!finite(v)) return;
    lo = any ? std::min(lo, static_cast<double>(v)) : v;
    hi = any ? std::max(hi, static_cast<double>(v)) : v;
    any = true;
  };
  for (float v : q) take(v);
  take(m.observed);
  std::string s = "<svg class=\"box\" data-ecotope=\"" + std::to_string(e.etcode) +
                  "\" data-measure=\"" + measureName(m.measure) + "\" width=\"" + coord(W) +
                  "\" height=\"" + coord(H) + "\" viewBox=\"0 0 " + coord(W) + " " + coord(H) +
                  "\" role=\"img\" aria-label=\"reference distribution and observed value\">";
  if (!any) return s + "<text class=\"note\" x=\"6\" y=\"20\">no values</text></svg>";
  widen(lo, hi);
  const Scale x{lo, hi, pad, W - pad};
  const double mid = 15;
  auto line = [&](float a, float b, const char* cls) {
    if (!finite(a) || !finite(b)) return std::string();
    return "<line class=\"" + std::string(cls) + "\" x1=\"" + coord(x(a)) + "\" x2=\"" +
           coord(x(b)) + "\" y1=\"" + coord(mid) + "\" y2=\"" + coord(mid) + "\"/>";
  };
  s += line(q[kP01], q[kP99], "w1");
  s += line(q[kP05], q[kP95], "w5");
  if (finite(q[kP25]) && finite(q[kP75])) {
    s += "<rect class=\"iqr\" x=\"" + coord(x(q[kP25])) + "\" y=\"" + coord(mid - 7) +
         "\" width=\"" + coord(std::max(x(q[kP75]) - x(q[kP25]), 1.0)) + "\" height=\"14\"/>";
  }
  if (finite(q[kP50])) {
    s += "<line class=\"med\" x1=\"" + coord(x(q[kP50])) + "\" x2=\"" + coord(x(q[kP50])) +
         "\" y1=\"" + coord(mid - 7) + "\" y2=\"" + coord(mid + 7) + "\"/>";
  }
  if (finite(m.observed)) {
    const double px = x(m.observed);
    s += "<path class=\"obs\" d=\"M" + coord(px) + " " + coord(mid - 7) + " L" + coord(px + 6) +
         " " + coord(mid) + " L" + coord(px) + " " + coord(mid + 7) + " L" + coord(px - 6) + " " +
         coord(mid) + " Z\"/>";
  }
  s += "<text class=\"tick\" x=\"" + coord(pad) + "\" y=\"32\">" + readableNumber(lo) +
       "</text><text class=\"tick\" x=\"" + coord(W - pad) + "\" y=\"32\" text-anchor=\"end\">" +
       readableNumber(hi) + "</text>";
  return s + "</svg>";
}

std::string cell(const std::string& text, const char* cls = nullptr) {
  return cls ? "<td class=\"" + std::string(cls) + "\">" + text + "</td>" : "<td>" + text + "</td>";
}

std::string probability(float p) { return finite(p) ? fixed(p, 4) : "missing"; }

std::string assessmentTable(const EcotopeAssessment& e) {
  std::string s =
      "<table class=\"assessment\"><thead><tr><th>Measure</th>"
      "<th>Reference distribution <span class=\"hint\">(box 25&#8211;75 %, whiskers 5&#8211;95 "
      "% and 1&#8211;99 %, diamond: assessment)</span></th>"
      "<th class=\"num\">Observed</th><th class=\"num\">Reference</th><th>Power</th>"
      "<th class=\"num\">P lower</th><th class=\"num\">P higher</th></tr></thead><tbody>";
  for (const MeasureAssessment& m : e.measures) {
    s += "<tr class=\"measure-row\" data-measure=\"" + std::string(measureName(m.measure)) + "\">";
    s += "<th scope=\"row\">" + std::string(measureTitle(m.measure)) + "</th>";
    s += cell(boxPlot(e, m));
    s += cell(readableNumber(m.observed), "num");
    s += cell(m.hasReference ? readableNumber(m.reference) : "", "num");
    s += "<td><span class=\"grade " + std::string(gradeClass(m.grade)) + "\">" +
         htmlText(gradeWord(m.grade)) + "</span></td>";
    s += cell(probability(m.plow), "num");
    s += cell(probability(m.phigh), "num");
    s += "</tr>";
  }
  return s + "</tbody></table>";
}

std::string speciesTable(const std::string& caption, const std::vector<ListedSpecies>& list,
                         bool sampleValues, const char* valueHeading) {
  std::string s = "<table class=\"species\"><caption>" + caption + "</caption><thead><tr>" +
                  "<th>Species</th><th class=\"num\">" + valueHeading +
                  "</th><th class=\"num\">P lower</th><th class=\"num\">P higher</th>";
  if (sampleValues) s += "<th class=\"num\">Assessment</th><th class=\"num\">Reference</th>";
  s += "</tr></thead><tbody>";
  if (list.empty()) {
    s += "<tr><td colspan=\"" + std::to_string(sampleValues ? 6 : 4) +
         "\" class=\"none\">none</td></tr>";
  }
  for (const ListedSpecies& sp : list) {
    s += "<tr>" + cell(htmlText(sp.name)) + cell(readableNumber(sp.value), "num") +
         cell(probability(sp.plow), "num") + cell(probability(sp.phigh), "num");
    if (sampleValues) {
      s += cell(readableNumber(sp.assValue), "num") + cell(readableNumber(sp.refValue), "num");
    }
    s += "</tr>";
  }
  return s + "</tbody></table>";
}

std::string speciesLists(const EcotopeAssessment& e) {
  constexpr std::size_t kNamesShown = 20;
  std::string s = "<div class=\"lists\">";
  for (const MeasureAssessment& m : e.measures) {
    switch (m.measure) {
      case Measure::similarity:
        s += speciesTable("Species contributing most to the dissimilarity", m.contributors, false,
                          "Contribution");
        break;
      case Measure::species: {
        s += "<div class=\"newspecies\"><p class=\"caption\">Species in the assessment sample "
             "only</p>";
        if (m.newSpecies.empty()) {
          s += "<p class=\"none\">none</p>";
        } else {
          s += "<ul>";
          for (std::size_t i = 0; i < m.newSpecies.size() && i < kNamesShown; ++i) {
            s += "<li>" + htmlText(m.newSpecies[i].name) + "</li>";
          }
          s += "</ul>";
          if (m.newSpecies.size() > kNamesShown) {
            s += "<p class=\"more\">and " + std::to_string(m.newSpecies.size() - kNamesShown) +
                 " more (all in the species CSV file)</p>";
          }
        }
        s += "</div>";
        break;
      }
      case Measure::density:
      case Measure::biomass: {
        const std::string what = m.measure == Measure::density ? "density" : "biomass";
        s += speciesTable("Largest " + what + " increases", m.increases, true, "Difference");
        s += speciesTable("Largest " + what + " decreases", m.decreases, true, "Difference");
        break;
      }
    }
  }
  return s + "</div>";
}

// --- The page ------------------------------------------------------------

// Okabe-Ito colours (blue #0072B2, vermillion #D55E00 and the grade colours):
// told apart with every common colour vision deficiency.
constexpr const char* kStyle = R"(
body{font-family:"DejaVu Sans",Arial,Helvetica,sans-serif;color:#111;background:#fff;margin:24px;
font-size:14px;line-height:1.4;max-width:1280px}
h1{font-size:22px;margin:0 0 4px}h2{font-size:18px;margin:0 0 6px}
.sub{color:#444;margin:0 0 10px}
dl.settings{display:grid;grid-template-columns:max-content auto max-content auto;gap:2px 14px;
margin:8px 0 12px}
dl.settings dt{color:#444}dl.settings dd{margin:0}
nav ul{list-style:none;padding:0;margin:6px 0 14px;display:flex;flex-wrap:wrap;gap:4px 14px}
section.ecotope{border-top:2px solid #333;padding:12px 0 18px}
.surfaces{margin:0 0 8px}
.warning{border-left:4px solid #E69F00;padding:2px 8px;margin:6px 0;background:#fff8e6}
.panels{display:flex;flex-wrap:wrap;gap:8px 14px;margin:6px 0 10px}
figure.panel{margin:0}figure.panel figcaption{font-weight:bold;text-align:center;font-size:13px}
svg text{font-family:"DejaVu Sans",Arial,Helvetica,sans-serif}
svg .frame{fill:none;stroke:#666;stroke-width:1}
svg .grid{stroke:#ddd;stroke-width:1}svg .axis{stroke:#666;stroke-width:1}
svg .tick{font-size:10px;fill:#333}svg .label{font-size:11px;fill:#111}
svg .note{font-size:12px;fill:#666}
svg .b{fill:#0072B2;stroke:none}
svg .median{fill:none;stroke:#00395a;stroke-width:2}
svg .obs{fill:#D55E00;stroke:#000;stroke-width:1}
svg .w1{stroke:#0072B2;stroke-width:1}svg .w5{stroke:#0072B2;stroke-width:3}
svg .iqr{fill:#9ccbe8;stroke:#0072B2;stroke-width:1}svg .med{stroke:#00395a;stroke-width:2.5}
table{border-collapse:collapse;margin:6px 0}
th,td{padding:2px 8px;text-align:left;vertical-align:middle}
thead th{border-bottom:1px solid #333;font-size:13px}
table.assessment tbody tr{border-bottom:1px solid #ddd}
td.num,th.num{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap}
.hint{font-weight:normal;color:#555;font-size:12px}
.grade{display:inline-block;padding:0 6px;border:1px solid #333;border-left-width:8px;
font-size:12px;font-weight:bold}
.grade.good{border-left-color:#009E73}.grade.moderate{border-left-color:#56B4E9}
.grade.low{border-left-color:#E69F00}.grade.poor{border-left-color:#D55E00}
.lists{display:flex;flex-wrap:wrap;gap:4px 24px;align-items:flex-start}
table.species{font-size:12px}
table.species caption,.caption{font-weight:bold;text-align:left;margin:4px 0 2px;font-size:13px}
.newspecies ul{margin:0;padding-left:18px;font-size:12px}
.none,.more{color:#555;font-size:12px;margin:0}
.legend svg{vertical-align:middle}
@media print{
body{margin:0;font-size:11px}nav{display:none}
section.ecotope{break-inside:avoid-page}
*{-webkit-print-color-adjust:exact;print-color-adjust:exact}
}
)";

std::string legend(bool observed) {
  return "<p class=\"legend\"><svg width=\"420\" height=\"22\" viewBox=\"0 0 420 22\" "
         "role=\"img\" aria-label=\"legend\">"
         "<rect class=\"b\" fill-opacity=\"0.16\" x=\"2\" y=\"5\" width=\"22\" height=\"12\"/>"
         "<text class=\"tick\" x=\"28\" y=\"15\">1&#8211;99 %</text>"
         "<rect class=\"b\" fill-opacity=\"0.28\" x=\"84\" y=\"5\" width=\"22\" height=\"12\"/>"
         "<text class=\"tick\" x=\"110\" y=\"15\">5&#8211;95 %</text>"
         "<rect class=\"b\" fill-opacity=\"0.45\" x=\"166\" y=\"5\" width=\"22\" height=\"12\"/>"
         "<text class=\"tick\" x=\"192\" y=\"15\">25&#8211;75 %</text>"
         "<line class=\"median\" x1=\"252\" x2=\"274\" y1=\"11\" y2=\"11\"/>"
         "<text class=\"tick\" x=\"278\" y=\"15\">median</text>" +
         std::string(observed ? "<path class=\"obs\" d=\"M332 5 L338 11 L332 17 L326 11 Z\"/>"
                                "<text class=\"tick\" x=\"342\" y=\"15\">assessment</text>"
                              : "") +
         "</svg></p>";
}

std::string modeText(int32_t mode) {
  switch (mode) {
    case 1:
      return "1 (summary tables)";
    case 2:
      return "2 (summary tables and report)";
    case 3:
      return "3 (report)";
    default:
      return std::to_string(mode);
  }
}

std::string settingsList(const HtmlHeader& h) {
  auto item = [](const std::string& term, const std::string& value) {
    return "<dt>" + term + "</dt><dd>" + value + "</dd>";
  };
  return "<dl class=\"settings\">" + item("Input files", htmlText(h.inputName) + ".*") +
         item("Output files", htmlText(h.outputName) + ".*") + item("Mode", modeText(h.mode)) +
         item("Biomass", h.biomass ? "yes" : "no") + item("Ecotopes", std::to_string(h.ecotopes)) +
         item("Species", std::to_string(h.species)) +
         item("Pseudo-samples", std::to_string(kPseudoSamples) + " per target surface") +
         item("Random numbers per pseudo-sample", std::to_string(2 * int64_t{h.maxstat})) +
         item("Species list length", std::to_string(h.listLength)) + "</dl>";
}

std::string ecotopeHeading(int32_t position, int32_t etcode, const std::string& etname) {
  return "<h2 id=\"ecotope-" + std::to_string(position + 1) + "\">Ecotope " +
         std::to_string(etcode) + ": " + htmlText(etname) + "</h2>";
}

// Everything before the ecotopes: the head of the document and the page
// header with the settings (and the legend when there are panels).
std::string pageStart(const HtmlHeader& h, const RunResults& r) {
  const std::string title = htmlText(h.title);
  const std::string shownTitle = title.empty() ? std::string("Assessment") : title;
  std::string s = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n";
  s += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n";
  s += "<meta name=\"generator\" content=\"ecoassess " + htmlText(h.version) + "\"/>\n";
  s += "<title>" + shownTitle + "</title>\n";
  s += "<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n<header>\n";
  s += "<h1>" + shownTitle + "</h1>\n";
  s += "<p class=\"sub\">Written by ecoassess " + htmlText(h.version) + "</p>\n";
  s += settingsList(h) + "\n";
  if (r.summaryRan) s += legend(r.reportRan) + "\n";
  return s + "</header>\n";
}

// An ecotope with whatever each pass gave it.
struct PageEcotope {
  int32_t etcode = 0;
  std::string etname;
  const EcotopeClasses* classes = nullptr;
  const EcotopeAssessment* assessment = nullptr;
};

// The ecotopes of the page in ecotope order.
std::map<int32_t, PageEcotope> pageEcotopes(const RunResults& r) {
  std::map<int32_t, PageEcotope> ecotopes;
  for (const EcotopeClasses& c : r.classes) {
    PageEcotope& e = ecotopes[c.position];
    e.etcode = c.etcode;
    e.etname = c.etname;
    e.classes = &c;
  }
  for (const EcotopeAssessment& a : r.assessments) {
    PageEcotope& e = ecotopes[a.position];
    e.etcode = a.etcode;
    e.etname = a.etname;
    e.assessment = &a;
  }
  return ecotopes;
}

std::string navigation(const std::map<int32_t, PageEcotope>& ecotopes) {
  if (ecotopes.empty()) return "<p class=\"none\">No ecotope has results.</p>\n";
  std::string s = "<nav><ul>";
  for (const auto& [position, e] : ecotopes) {
    s += "<li><a href=\"#ecotope-" + std::to_string(position + 1) + "\">" +
         std::to_string(e.etcode) + " " + htmlText(e.etname) + "</a></li>";
  }
  return s + "</ul></nav>\n";
}

std::string surfaceNotes(const EcotopeAssessment& a) {
  std::string s = "<p class=\"surfaces\">Total surface: reference sample " +
                  readableNumber(a.refSurface) + ", assessment sample " +
                  readableNumber(a.assSurface) + "</p>\n";
  if (a.surfaceWarning) {
    s += "<p class=\"warning\">The surfaces of the reference stations are very unequal; "
         "this may affect the chance probabilities.</p>\n";
  }
  return s;
}

// One band panel per measure of the tables, with the observed value where
// the ecotope was assessed.
std::string bandPanels(const EcotopeClasses& classes, const EcotopeAssessment* assessment) {
  std::string s = "<div class=\"panels\">";
  for (Measure m : kTableOrder) {
    if (m == Measure::biomass && !classes.biomass) continue;
    std::optional<Observed> observed;
    if (assessment != nullptr) {
      for (const MeasureAssessment& ma : assessment->measures) {
        if (ma.measure == m) observed = Observed{assessment->assSurface, ma.observed};
      }
    }
    s += "<figure class=\"panel\">" + bandPanel(classes, m, observed) + "<figcaption>" +
         measureTitle(m) + "</figcaption></figure>";
  }
  return s + "</div>\n";
}

std::string ecotopeSection(int32_t position, const PageEcotope& e, bool reportRan) {
  std::string s =
      "<section class=\"ecotope\">\n" + ecotopeHeading(position, e.etcode, e.etname) + "\n";
  if (e.assessment) s += surfaceNotes(*e.assessment);
  if (e.classes) s += bandPanels(*e.classes, e.assessment);
  if (e.assessment) {
    s += assessmentTable(*e.assessment) + "\n" + speciesLists(*e.assessment) + "\n";
  } else if (reportRan) {
    s += "<p class=\"none\">Not assessed: the ecotope needs an assessment station, three "
         "reference stations and an assessment surface above half the mean reference "
         "station surface.</p>\n";
  }
  return s + "</section>\n";
}

}  // namespace

std::string htmlText(std::string_view stored) {
  const std::string name = exportName(stored);
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
          out += "\xEF\xBF\xBD";
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string readableNumber(float value) {
  if (std::isnan(value)) return "missing";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  const double v = value, a = std::fabs(v);
  if (a == 0) return "0";
  if (a >= 1e7 || a < 1e-3) return scientific(v, 2);
  if (v == std::trunc(v)) return fixed(v, 0);
  const int decimals = std::clamp(3 - static_cast<int>(std::floor(std::log10(a))), 0, 6);
  return stripZeros(fixed(v, decimals));
}

std::string htmlReport(const HtmlHeader& h, const RunResults& r) {
  const std::map<int32_t, PageEcotope> ecotopes = pageEcotopes(r);
  std::string s = pageStart(h, r) + navigation(ecotopes);
  for (const auto& [position, e] : ecotopes) s += ecotopeSection(position, e, r.reportRan);
  return s + "</body>\n</html>\n";
}

}  // namespace eco
