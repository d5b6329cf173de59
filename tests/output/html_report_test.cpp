#include "output/html_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "output/result_samples.h"
#include "output/xml_check.h"

namespace eco {
namespace {

using samples::kNaN;

HtmlHeader header(int32_t mode, bool biomass) {
  HtmlHeader h;
  h.title = "Dune meadows by management" + std::string(54, ' ');
  h.inputName = "dune_mgmt_bio";
  h.outputName = "dune_out";
  h.mode = mode;
  h.biomass = biomass;
  h.ecotopes = 3;
  h.species = 30;
  h.maxstat = 30;
  h.listLength = 3;
  h.version = "9.9.9";
  return h;
}

// The results of a run in the given mode over three ecotopes: the third
// has too few stations for the report.
RunResults results(int32_t mode, bool biomass) {
  RunResults r;
  r.summaryRan = mode == 1 || mode == 2;
  r.reportRan = mode == 2 || mode == 3;
  if (r.summaryRan) {
    r.classes.push_back(samples::classes(0, 1, "Biological farming", biomass));
    r.classes.push_back(samples::classes(1, 2, "Hobby farming", biomass, true));
    r.classes.push_back(samples::classes(2, 3, "Nature conservation", biomass));
  }
  if (r.reportRan) {
    r.assessments.push_back(samples::assessment(0, 1, "Biological farming", biomass));
    r.assessments.push_back(samples::assessment(1, 2, "Hobby farming", biomass));
  }
  return r;
}

// (ecotope, measure) of every element with the given class.
std::multiset<std::pair<std::string, std::string>> marked(const xmltest::Checked& c,
                                                          const std::string& element,
                                                          const std::string& cls) {
  std::multiset<std::pair<std::string, std::string>> found;
  for (const auto& e : c.elements) {
    if (e.name == element && xmltest::attribute(e, "class") == cls) {
      found.emplace(xmltest::attribute(e, "data-ecotope"), xmltest::attribute(e, "data-measure"));
    }
  }
  return found;
}

std::multiset<std::pair<std::string, std::string>> expectedPanels(
    const std::vector<std::string>& ecotopes, bool biomass) {
  std::multiset<std::pair<std::string, std::string>> want;
  for (const std::string& e : ecotopes) {
    for (const char* m : {"similarity", "density", "biomass", "species"}) {
      if (std::string(m) == "biomass" && !biomass) continue;
      want.emplace(e, m);
    }
  }
  return want;
}

TEST(HtmlReport, OnePanelPerEcotopeAndMeasureForEachPassThatRan) {
  struct Case {
    int32_t mode;
    bool biomass;
    std::vector<std::string> bandEcotopes, boxEcotopes;
  };
  const std::vector<Case> cases = {
      {1, true, {"1", "2", "3"}, {}},
      {1, false, {"1", "2", "3"}, {}},
      {2, true, {"1", "2", "3"}, {"1", "2"}},
      {2, false, {"1", "2", "3"}, {"1", "2"}},
      {3, true, {}, {"1", "2"}},
  };
  for (const Case& c : cases) {
    const std::string page = htmlReport(header(c.mode, c.biomass), results(c.mode, c.biomass));
    const xmltest::Checked checked = xmltest::checkXml(page);
    ASSERT_TRUE(checked.ok) << "mode " << c.mode << ": " << checked.error;
    EXPECT_EQ(marked(checked, "svg", "band"), expectedPanels(c.bandEcotopes, c.biomass))
        << "mode " << c.mode;
    EXPECT_EQ(marked(checked, "svg", "box"), expectedPanels(c.boxEcotopes, c.biomass))
        << "mode " << c.mode;
    // One section per ecotope with results, in ecotope order.
    std::vector<std::string> headings;
    for (const auto& e : checked.elements) {
      if (e.name == "h2") headings.push_back(xmltest::attribute(e, "id"));
    }
    const std::vector<std::string> sections =
        c.mode == 3 ? std::vector<std::string>{"ecotope-1", "ecotope-2"}
                    : std::vector<std::string>{"ecotope-1", "ecotope-2", "ecotope-3"};
    EXPECT_EQ(headings, sections);
    // The observed value is drawn in every box, in the bands only where both
    // passes ran (and once in the legend).
    std::size_t diamonds = 0;
    for (std::size_t at = page.find("<path class=\"obs\""); at != std::string::npos;
         at = page.find("<path class=\"obs\"", at + 1)) {
      ++diamonds;
    }
    const std::size_t boxes = marked(checked, "svg", "box").size();
    EXPECT_EQ(diamonds, c.mode == 2 ? 2 * boxes + 1 : boxes) << "mode " << c.mode;
  }
}

TEST(HtmlReport, SelfContainedAndReproducible) {
  const std::string page = htmlReport(header(2, true), results(2, true));
  for (const char* banned : {"<script", "http:", "https:", "src=", "url(", "@import", "<link"}) {
    EXPECT_EQ(page.find(banned), std::string::npos) << banned;
  }
  EXPECT_EQ(page, htmlReport(header(2, true), results(2, true)));
  EXPECT_NE(page.find("ecoassess 9.9.9"), std::string::npos);
  EXPECT_NE(page.find("<title>Dune meadows by management</title>"), std::string::npos);
}

TEST(HtmlReport, EveryInputTextIsEscaped) {
  HtmlHeader h = header(2, true);
  h.title = "<script>alert('x')</script> & \"more\"";
  h.inputName = "a<b";
  RunResults r = results(2, true);
  r.classes[0].etname = samples::name50("Wet & <dry>");
  r.assessments[0].etname = r.classes[0].etname;
  r.assessments[0].measures[0].contributors[0].name = samples::name50("Carex 'x' \"y\" <z>");
  r.assessments[0].measures[1].newSpecies[0].name = samples::name50("tab\there\x01\x7f");
  const std::string page = htmlReport(h, r);
  const xmltest::Checked checked = xmltest::checkXml(page);
  ASSERT_TRUE(checked.ok) << checked.error;
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;more&quot;"),
            std::string::npos);
  EXPECT_NE(page.find("Wet &amp; &lt;dry&gt;"), std::string::npos);
  EXPECT_NE(page.find("Carex &#39;x&#39; &quot;y&quot; &lt;z&gt;"), std::string::npos);
  EXPECT_NE(page.find("tab\there\xEF\xBF\xBD\x7f"), std::string::npos);
  EXPECT_NE(page.find("a&lt;b"), std::string::npos);
}

TEST(HtmlReport, MissingAndInfiniteValuesDoNotBreakThePage) {
  RunResults r = results(2, true);
  for (ClassRow& row : r.classes[2].rows) {
    for (Percentiles& q : row.q) q.fill(kNaN);
  }
  r.classes[0].rows[1].q[tableIndex(Measure::density)][10] = std::numeric_limits<float>::infinity();
  for (float& v : r.assessments[1].measures[0].percentiles) v = kNaN;
  r.assessments[1].measures[0].observed = kNaN;
  r.assessments[1].measures[2].plow = kNaN;
  const std::string page = htmlReport(header(2, true), r);
  const xmltest::Checked checked = xmltest::checkXml(page);
  ASSERT_TRUE(checked.ok) << checked.error;
  EXPECT_NE(page.find("no values"), std::string::npos);
  EXPECT_EQ(page.find("nan"), std::string::npos);
  EXPECT_EQ(page.find("inf\""), std::string::npos);
  // The class without values splits the bands of ecotope 2 into separate pieces.
  EXPECT_NE(page.find("<rect class=\"b\""), std::string::npos);
}

// The numbers of a drawing attribute ("M12.5 3.0 L...", "1.0,2.5 3.0,4.5",
// "translate(14 86.0)"): each a finite number, none written as nan or inf.
bool finiteCoordinates(const std::string& value) {
  if (value.find("nan") != std::string::npos || value.find("inf") != std::string::npos) {
    return false;
  }
  const std::string numberChars = "0123456789.eE+-";
  for (std::size_t i = 0; i < value.size();) {
    const std::size_t end = std::min(value.find_first_not_of(numberChars, i), value.size());
    const std::string token = value.substr(i, end - i);
    if (token.find_first_of("0123456789") != std::string::npos) {
      char* stop = nullptr;
      const double v = std::strtod(token.c_str(), &stop);
      if (*stop != '\0' || !std::isfinite(v)) return false;
    }
    i = end == i ? i + 1 : end;
  }
  return true;
}

TEST(HtmlReport, ConstantDistributionsAreDrawnWithFiniteCoordinates) {
  // Every percentile and the observed value equal: the ranges of the
  // drawings collapse to a point unless they are widened.
  for (const float constant : {0.0f, 1.0f, 0.5f, -3.0f, 1e6f, 1e-20f, 3e38f}) {
    RunResults r = results(2, true);
    for (EcotopeClasses& e : r.classes) {
      for (ClassRow& row : e.rows) {
        for (Percentiles& q : row.q) q.fill(constant);
      }
    }
    r.classes[1].rows.resize(1);  // a class standing alone
    for (EcotopeAssessment& a : r.assessments) {
      for (MeasureAssessment& m : a.measures) {
        m.percentiles.fill(constant);
        m.observed = constant;
      }
    }
    const std::string page = htmlReport(header(2, true), r);
    const xmltest::Checked checked = xmltest::checkXml(page);
    ASSERT_TRUE(checked.ok) << checked.error;
    int drawn = 0;
    for (const auto& e : checked.elements) {
      for (const auto& [name, value] : e.attributes) {
        if (name != "x" && name != "y" && name != "x1" && name != "x2" && name != "y1" &&
            name != "y2" && name != "width" && name != "height" && name != "points" &&
            name != "d" && name != "transform") {
          continue;
        }
        ++drawn;
        EXPECT_TRUE(finiteCoordinates(value))
            << constant << ": <" << e.name << " " << name << "=\"" << value << "\">";
      }
    }
    EXPECT_GT(drawn, 100) << constant;
    EXPECT_EQ(page.find(">nan"), std::string::npos) << constant;
    EXPECT_EQ(page.find(">inf"), std::string::npos) << constant;
  }
}

TEST(HtmlReport, AnEmptyRunStillGivesAPage) {
  RunResults r;
  r.summaryRan = true;
  const std::string page = htmlReport(header(1, false), r);
  const xmltest::Checked checked = xmltest::checkXml(page);
  ASSERT_TRUE(checked.ok) << checked.error;
  EXPECT_NE(page.find("No ecotope has results."), std::string::npos);
}

TEST(HtmlReport, ManyNewSpeciesAreListedUpToTwenty) {
  RunResults r = results(3, false);
  std::vector<ListedSpecies>& list = r.assessments[0].measures[1].newSpecies;
  list.clear();
  for (int i = 0; i < 23; ++i) list.push_back(samples::named(i + 1, "New " + std::to_string(i)));
  const std::string page = htmlReport(header(3, false), r);
  EXPECT_NE(page.find("<li>New 19</li>"), std::string::npos);
  EXPECT_EQ(page.find("<li>New 20</li>"), std::string::npos);
  EXPECT_NE(page.find("and 3 more"), std::string::npos);
}

// Each grade has its word and its colour class.
TEST(HtmlReport, EachGradeHasItsWordAndColour) {
  const struct {
    Grade grade;
    const char* shown;
  } cases[] = {{Grade::good, "<span class=\"grade good\">GOOD</span>"},
               {Grade::moderate, "<span class=\"grade moderate\">MODERATE</span>"},
               {Grade::low, "<span class=\"grade low\">LOW</span>"},
               {Grade::veryPoor, "<span class=\"grade poor\">VERY POOR</span>"}};
  for (const auto& c : cases) {
    RunResults r = results(3, true);
    for (MeasureAssessment& m : r.assessments[0].measures) m.grade = c.grade;
    const std::string page = htmlReport(header(3, true), r);
    EXPECT_NE(page.find(c.shown), std::string::npos) << c.shown;
  }
}

TEST(ReadableNumber, Forms) {
  struct Case {
    float value;
    std::string text;
  };
  const std::vector<Case> cases = {
      {19.0f, "19"},         {0.84761f, "0.8476"},
      {57295.898f, "57296"}, {5019.4f, "5019"},
      {13.5f, "13.5"},       {0.5f, "0.5"},
      {1e-05f, "1.00e-05"},  {-2.0f, "-2"},
      {0.0f, "0"},           {kNaN, "missing"},
      {2.5e7f, "2.50e+07"},  {-0.125f, "-0.125"},
      {1.23456f, "1.235"},   {std::numeric_limits<float>::infinity(), "Inf"},
  };
  for (const Case& c : cases) EXPECT_EQ(readableNumber(c.value), c.text) << c.value;
}

TEST(XmlCheck, CatchesWhatIsNotWellFormed) {
  const std::vector<std::string> bad = {
      "<a><b></a></b>", "<a>x &nbsp; y</a>",       "<a x=1></a>", "<a>1 < 2</a>",
      "<a></a><b></b>", "<a x=\"1\" x=\"2\"></a>", "<a>",
  };
  for (const std::string& s : bad) EXPECT_FALSE(xmltest::checkXml(s).ok) << s;
  EXPECT_TRUE(xmltest::checkXml("<!DOCTYPE html>\n<a x=\"&amp;\"><b/>&#8211;&#x41;</a>\n").ok);
}

}  // namespace
}  // namespace eco
