#include "output/csv_export.h"

#include <initializer_list>

#include "output/export_text.h"

namespace eco {
namespace {

constexpr const char* kPercentileColumns = "p01,p025,p05,p10,p25,p50,p75,p90,p95,p975,p99";

// A record of fields that are already escaped.
class Record {
 public:
  Record& text(std::string_view t) { return raw(csvField(t)); }
  Record& number(float v) { return raw(shortestDecimal(v)); }
  Record& integer(int64_t v) { return raw(std::to_string(v)); }
  Record& empty() { return raw({}); }
  Record& percentiles(const Percentiles& q) {
    for (float v : q) number(v);
    return *this;
  }
  std::string end() { return line_ + "\r\n"; }

 private:
  Record& raw(std::string_view field) {
    if (!first_) line_ += ',';
    first_ = false;
    line_ += field;
    return *this;
  }
  std::string line_;
  bool first_ = true;
};

Record ecotopeFields(int32_t etcode, const std::string& etname) {
  Record r;
  r.integer(etcode).text(exportName(etname));
  return r;
}

}  // namespace

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string tablesCsvHeader() {
  return std::string("ecotope,ecotope_name,measure,class,surface,") + kPercentileColumns + "\r\n";
}

std::string tablesCsvRows(const EcotopeClasses& ecotope) {
  std::string out;
  for (Measure m : kTableOrder) {
    if (m == Measure::biomass && !ecotope.biomass) continue;
    for (const ClassRow& row : ecotope.rows) {
      Record r = ecotopeFields(ecotope.etcode, ecotope.etname);
      out += r.text(measureName(m))
                 .integer(row.cls)
                 .number(row.surface)
                 .percentiles(row.q[tableIndex(m)])
                 .end();
    }
  }
  return out;
}

std::string assessmentCsvHeader() {
  return std::string(
             "ecotope,ecotope_name,measure,reference_surface,assessment_surface,surface_warning,"
             "grade,") +
         kPercentileColumns + ",observed,reference,p_lower,p_higher,se_lower,se_higher\r\n";
}

std::string assessmentCsvRows(const EcotopeAssessment& ecotope) {
  std::string out;
  for (const MeasureAssessment& m : ecotope.measures) {
    Record r = ecotopeFields(ecotope.etcode, ecotope.etname);
    r.text(measureName(m.measure))
        .number(ecotope.refSurface)
        .number(ecotope.assSurface)
        .text(ecotope.surfaceWarning ? "TRUE" : "FALSE")
        .text(gradeWord(m.grade))
        .percentiles(m.percentiles)
        .number(m.observed);
    if (m.hasReference) {
      r.number(m.reference);
    } else {
      r.empty();
    }
    out += r.number(m.plow).number(m.phigh).number(m.seLow).number(m.seHigh).end();
  }
  return out;
}

std::string speciesCsvHeader() {
  return "ecotope,ecotope_name,measure,list,rank,species,species_name,value,p_lower,p_higher,"
         "assessment_value,reference_value\r\n";
}

std::string speciesCsvRows(const EcotopeAssessment& ecotope) {
  std::string out;
  for (const MeasureAssessment& m : ecotope.measures) {
    const std::initializer_list<std::pair<const char*, const std::vector<ListedSpecies>*>> lists = {
        {"contributor", &m.contributors},
        {"new", &m.newSpecies},
        {"increase", &m.increases},
        {"decrease", &m.decreases}};
    for (const auto& [list, species] : lists) {
      int64_t rank = 0;
      for (const ListedSpecies& s : *species) {
        Record r = ecotopeFields(ecotope.etcode, ecotope.etname);
        r.text(measureName(m.measure))
            .text(list)
            .integer(++rank)
            .integer(s.specode)
            .text(exportName(s.name));
        if (s.hasValues) {
          r.number(s.value).number(s.plow).number(s.phigh);
        } else {
          r.empty().empty().empty();
        }
        if (s.hasSampleValues) {
          r.number(s.assValue).number(s.refValue);
        } else {
          r.empty().empty();
        }
        out += r.end();
      }
    }
  }
  return out;
}

}  // namespace eco
