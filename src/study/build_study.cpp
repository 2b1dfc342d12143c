#include "study/build_study.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>

#include "runtime/error.h"
#include "runtime/printable.h"
#include "runtime/numbers.h"

namespace lumivar::study {

namespace {

constexpr std::size_t kProblemsListed = 20;

std::string quoted(const std::string& s) { return "\"" + runtime::printable(s) + "\""; }

std::string lines_text(const std::vector<std::size_t>& lines) {
  std::string s = lines.size() > 1 ? "lines " : "line ";
  for (std::size_t i = 0; i < lines.size(); ++i)
    s += (i == 0 ? "" : i + 1 == lines.size() ? " and " : ", ") + std::to_string(lines[i]);
  return s;
}

// The one or two measurement values in row order: their positions in the
// coding's values, numbers sorted numerically when every value is a number.
std::vector<std::size_t> measurement_order(const ValueCoding& c) {
  std::vector<std::size_t> order(c.values.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  bool numeric = true;
  std::vector<double> number(c.values.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::optional<double> v = runtime::parse_number(c.values[i]);
    numeric = numeric && v && !std::isnan(*v);
    number[i] = v.value_or(0);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return numeric ? number[a] < number[b] : c.values[a] < c.values[b];
  });
  return order;
}

class StudyBuilder {
 public:
  StudyBuilder(const LandmarkFile& lf, const SpecimenSheet& sheet) : lf_(lf), sheet_(sheet) {}

  Study build() {
    index_landmark_ids();
    index_sheet_rows();
    match_ids();
    code_columns();
    group_specimens();
    check_landmark_counts();
    if (!problems_.empty()) runtime::raise(refusal_message(lf_.name, sheet_.name, problems_));
    return assemble();
  }

 private:
  void index_landmark_ids() {
    std::map<std::string, std::vector<std::size_t>> lines;
    std::vector<std::string> order;
    for (std::size_t i = 0; i < lf_.entries.size(); ++i) {
      const LandmarkEntry& e = lf_.entries[i];
      if (e.id.empty()) {
        problems_.push_back(lf_.name + ", line " + std::to_string(e.line) + ": the specimen has no id.");
        continue;
      }
      auto& l = lines[e.id];
      if (l.empty()) order.push_back(e.id);
      l.push_back(e.line);
      entry_of_.emplace(e.id, i);
    }
    for (const std::string& id : order)
      if (lines[id].size() > 1)
        problems_.push_back("id " + quoted(id) + " is given more than once in " + lf_.name + " (" +
                            lines_text(lines[id]) + ").");
  }

  void index_sheet_rows() {
    std::map<std::string, std::vector<std::size_t>> lines;
    std::vector<std::string> order;
    for (std::size_t i = 0; i < sheet_.rows.size(); ++i) {
      const SheetRow& r = sheet_.rows[i];
      bool complete = true;
      for (std::size_t role = 0; role < kRoleCount; ++role) {
        if (!r.cells[role].empty()) continue;
        problems_.push_back(sheet_.name + ", line " + std::to_string(r.line) + ": no " + kRoleNames[role] + ".");
        complete = false;
      }
      if (!r.cells[kId].empty()) {
        auto& l = lines[r.cells[kId]];
        if (l.empty()) order.push_back(r.cells[kId]);
        l.push_back(r.line);
        sheet_row_of_.emplace(r.cells[kId], i);
      }
      if (complete) complete_rows_.push_back(i);
    }
    for (const std::string& id : order)
      if (lines[id].size() > 1)
        problems_.push_back("id " + quoted(id) + " is given more than once in " + sheet_.name + " (" +
                            lines_text(lines[id]) + ").");
  }

  void match_ids() {
    for (const LandmarkEntry& e : lf_.entries)
      if (!e.id.empty() && !sheet_row_of_.count(e.id))
        problems_.push_back("id " + quoted(e.id) + " (" + lf_.name + ", line " + std::to_string(e.line) +
                            ") is not in the sheet " + sheet_.name + ".");
    for (const SheetRow& r : sheet_.rows)
      if (!r.cells[kId].empty() && !entry_of_.count(r.cells[kId]))
        problems_.push_back("id " + quoted(r.cells[kId]) + " (" + sheet_.name + ", line " +
                            std::to_string(r.line) + ") is not in the landmark file " + lf_.name + ".");
  }

  void code_columns() {
    std::array<std::vector<std::string>, kRoleCount> cells;
    for (std::size_t i : complete_rows_)
      for (std::size_t role = 0; role < kRoleCount; ++role) cells[role].push_back(sheet_.rows[i].cells[role]);
    measurement_ = code_values(kRoleNames[kMeasurement], cells[kMeasurement]);
    g1_ = code_values(kRoleNames[kG1], cells[kG1]);
    g2_ = code_values(kRoleNames[kG2], cells[kG2]);
    order_ = measurement_order(measurement_);
    if (complete_rows_.empty()) problems_.push_back("The sheet " + sheet_.name + " has no complete line.");
    if (order_.size() > 2) {
      std::string values;
      for (std::size_t i : order_) values += (values.empty() ? "" : ", ") + runtime::printable(measurement_.values[i]);
      problems_.push_back("The sheet has " + std::to_string(order_.size()) + " measurement values (" + values +
                          "); a study holds one or two measurements of each specimen.");
    }
  }

  // Specimens in the order of their first line, each with its sheet rows
  // per measurement value.
  void group_specimens() {
    std::unordered_map<std::string, std::size_t> ordinal;
    for (std::size_t i : complete_rows_) {
      const std::string& name = sheet_.rows[i].cells[kSpecimen];
      auto [it, added] = ordinal.emplace(name, specimens_.size());
      if (added) specimens_.push_back({name, std::vector<std::vector<std::size_t>>(order_.size())});
      const std::size_t m = std::find(order_.begin(), order_.end(),
                                      measurement_.index_of(sheet_.rows[i].cells[kMeasurement])) -
                            order_.begin();
      specimens_[it->second].rows[m].push_back(i);
    }
    if (order_.size() > 2) return;  // refused already; counting per value would only repeat it
    for (const Specimen& s : specimens_) {
      // A specimen seen at one of two measurements is measured once.
      const bool once = measured_once(s);
      for (std::size_t m = 0; m < order_.size(); ++m) {
        const std::vector<std::size_t>& rows = s.rows[m];
        const std::string at = " at measurement " + measurement_.values[order_[m]];
        if (rows.empty() && !once) problems_.push_back("specimen " + quoted(s.name) + " has no line" + at + ".");
        if (rows.size() > 1)
          problems_.push_back("specimen " + quoted(s.name) + " has " + std::to_string(rows.size()) + " lines" +
                              at + " (" + sheet_.name + ", " + lines_text(sheet_lines(rows)) + ").");
      }
      check_same(s, kG1, g1_);
      check_same(s, kG2, g2_);
    }
  }

  struct Specimen {
    std::string name;
    std::vector<std::vector<std::size_t>> rows;  // sheet rows per measurement, in row order
  };

  std::vector<std::size_t> sheet_lines(const std::vector<std::size_t>& rows) const {
    std::vector<std::size_t> lines;
    for (std::size_t i : rows) lines.push_back(sheet_.rows[i].line);
    return lines;
  }

  void check_same(const Specimen& s, SheetRole role, const ValueCoding& c) {
    const SheetRow* first = nullptr;
    for (const auto& rows : s.rows)
      for (std::size_t i : rows) {
        const SheetRow& r = sheet_.rows[i];
        if (first == nullptr) {
          first = &r;
        } else if (c.code_of(r.cells[role]) != c.code_of(first->cells[role])) {
          problems_.push_back("specimen " + quoted(s.name) + " has " + kRoleNames[role] + " " +
                              quoted(first->cells[role]) + " at line " + std::to_string(first->line) +
                              " but " + quoted(r.cells[role]) + " at line " + std::to_string(r.line) + ".");
          return;
        }
      }
  }

  void check_landmark_counts() {
    if (lf_.entries.empty()) {
      problems_.push_back("The landmark file " + lf_.name + " holds no specimen.");
      return;
    }
    const LandmarkEntry& first = lf_.entries.front();
    const auto d = static_cast<std::size_t>(lf_.dimensions);
    if (first.landmarks(d) == 0)
      problems_.push_back(lf_.name + ", line " + std::to_string(first.line) + ": the specimen has no landmarks.");
    for (const LandmarkEntry& e : lf_.entries)
      if (e.xy.size() != first.xy.size())
        problems_.push_back("id " + quoted(e.id) + " (" + lf_.name + ", line " + std::to_string(e.line) + ") has " +
                            std::to_string(e.landmarks(d)) + (e.landmarks(d) == 1 ? " landmark" : " landmarks") +
                            "; the first specimen (" + quoted(first.id) +
                            ", line " + std::to_string(first.line) + ") has " +
                            std::to_string(first.landmarks(d)) + ".");
  }

  Study assemble() {
    Study s;
    const std::size_t nm = order_.size();
    // Specimens with a line at every measurement first, in their order,
    // then those measured once: rows 1 .. n and n + 1 .. 2n stay the plain
    // layout, the single rows follow.
    std::vector<const Specimen*> order;
    for (const Specimen& sp : specimens_)
      if (!measured_once(sp)) order.push_back(&sp);
    const std::size_t n = order.size();
    for (const Specimen& sp : specimens_)
      if (measured_once(sp)) order.push_back(&sp);
    s.dimensions = lf_.dimensions;
    s.landmarks = lf_.entries.front().landmarks(static_cast<std::size_t>(s.dimensions));
    const std::size_t cols = static_cast<std::size_t>(s.dimensions) * s.landmarks + 1;
    const std::size_t rows = n * nm + (order.size() - n);
    s.data = runtime::Matrix(rows, cols);
    s.repgroup = runtime::Matrix(rows, 1);
    s.group = runtime::Matrix(order.size(), 2);
    std::size_t row = 0;
    const auto put = [&](std::size_t i, std::size_t sheet_row) {
      const SheetRow& r = sheet_.rows[sheet_row];
      const LandmarkEntry& e = lf_.entries[entry_of_.at(r.cells[kId])];
      ++row;
      for (std::size_t j = 0; j < e.xy.size(); ++j) s.data(row, j + 1) = e.xy[j];
      s.data(row, cols) = static_cast<double>(i + 1);
      s.repgroup(row, 1) = measurement_.code_of(r.cells[kMeasurement]);
      s.group(i + 1, 1) = g1_.code_of(r.cells[kG1]);
      s.group(i + 1, 2) = g2_.code_of(r.cells[kG2]);
    };
    for (std::size_t m = 0; m < nm; ++m) {
      s.measurements.push_back(measurement_.values[order_[m]]);
      for (std::size_t i = 0; i < n; ++i) put(i, order[i]->rows[m].front());
    }
    for (std::size_t i = n; i < order.size(); ++i) {
      const Specimen& sp = *order[i];
      put(i, (sp.rows[0].empty() ? sp.rows[1] : sp.rows[0]).front());
      s.measured_once.push_back(sp.name);
    }
    for (const Specimen* sp : order) s.specimens.push_back(sp->name);
    s.measurement = std::move(measurement_);
    s.g1 = std::move(g1_);
    s.g2 = std::move(g2_);
    return s;
  }

  bool measured_once(const Specimen& sp) const {
    return order_.size() == 2 && (sp.rows[0].empty() != sp.rows[1].empty());
  }

  const LandmarkFile& lf_;
  const SpecimenSheet& sheet_;
  std::vector<std::string> problems_;
  std::unordered_map<std::string, std::size_t> entry_of_;      // id -> landmark entry
  std::unordered_map<std::string, std::size_t> sheet_row_of_;  // id -> sheet row
  std::vector<std::size_t> complete_rows_;                     // sheet rows with every cell
  ValueCoding measurement_, g1_, g2_;
  std::vector<std::size_t> order_;  // measurement values (positions in measurement_) in row order
  std::vector<Specimen> specimens_;
};

}  // namespace

std::string refusal_message(const std::string& landmarks, const std::string& sheet,
                            const std::vector<std::string>& problems) {
  std::string msg = "The study cannot be built from " + landmarks + " and " + sheet + " (" +
                    std::to_string(problems.size()) + (problems.size() == 1 ? " problem):" : " problems):");
  for (std::size_t i = 0; i < problems.size() && i < kProblemsListed; ++i) msg += "\n  " + problems[i];
  if (problems.size() > kProblemsListed)
    msg += "\n  ... and " + std::to_string(problems.size() - kProblemsListed) + " more.";
  return msg;
}

Study build_study(const LandmarkFile& landmarks, const SpecimenSheet& sheet) {
  return StudyBuilder(landmarks, sheet).build();
}

}  // namespace lumivar::study
