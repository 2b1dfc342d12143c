#include "results/shape_space_forms.h"

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "results/json_output.h"
#include "results/table_text.h"

namespace lumivar::results {

namespace {

using nlohmann::json;
using shape_space::GroupMean;
using shape_space::level_name;

json numbers(const Eigen::Ref<const Eigen::RowVectorXd>& v) {
  json a = json::array();
  for (Eigen::Index i = 0; i < v.size(); ++i) a.push_back(v(i));
  return a;
}

// A code as a whole number when it is one, as the code files write it.
json code_value(double code) {
  constexpr double kExact = 9007199254740992.0;  // 2^53: whole doubles beyond are not all integers
  if (code == std::floor(code) && std::abs(code) < kExact) return static_cast<std::int64_t>(code);
  return code;
}

// A level as the sheet calls it, or its code when there is no sheet.
json level(const std::map<double, std::string>& names, double code) {
  if (names.empty()) return code_value(code);
  return level_name(names, code);
}

json means(const std::vector<GroupMean>& groups, const std::vector<const char*>& factors,
           const std::vector<const std::map<double, std::string>*>& names) {
  json out = json::array();
  for (const GroupMean& g : groups) {
    json e = json::object();
    for (std::size_t f = 0; f < factors.size(); ++f) {
      e[factors.size() == 1 ? "code" : factors[f]] = code_value(g.codes[f]);
      if (!names[f]->empty())
        e[factors.size() == 1 ? std::string("name") : std::string(factors[f]) + "_name"] =
            level_name(*names[f], g.codes[f]);
    }
    e["rows"] = g.rows;
    e["shape"] = numbers(g.shape);
    out.push_back(std::move(e));
  }
  return out;
}

json row_record(const shape_space::ShapeSpace& s, const ShapeRows& r, std::size_t i) {
  const shape_space::StudyLabels& l = *r.labels;
  json e = json::object();
  e["id"] = i + 1;
  e["specimen"] = i < l.specimens.size() ? l.specimens[i] : std::string();
  e["measurement"] = level(l.t, (*r.t)(i + 1));
  e["G1"] = level(l.g1, (*r.g1)(i + 1));
  e["G2"] = level(l.g2, (*r.g2)(i + 1));
  e["centroid_size"] = s.centroid_sizes[i];
  e["scores"] = numbers(s.components.scores.row(static_cast<Eigen::Index>(i)));
  return e;
}

// Where the rows go in the document's text: a string no name can hold.
constexpr const char* kRowsMark = "\x01rows\x01";

std::string csv_level(const std::map<double, std::string>& names, double code) {
  return table_field(level_name(names, code), ',');
}

}  // namespace

void write_shapes_json(std::ostream& out, const shape_space::ShapeSpace& s, const ShapeRows& r,
                       const nlohmann::json& provenance) {
  const shape_space::StudyLabels& l = *r.labels;
  const shape_space::PrincipalComponents& pc = s.components;
  json j = json::object();
  j["dimension"] = s.dimension;
  j["landmarks"] = s.landmarks;
  j["consensus"] = numbers(s.consensus);
  j["mean_shapes"] = {{"G1", means(s.g1, {"G1"}, {&l.g1})},
                      {"G2", means(s.g2, {"G2"}, {&l.g2})},
                      {"T", means(s.t, {"T"}, {&l.t})},
                      {"G1xG2", means(s.cells, {"G1", "G2"}, {&l.g1, &l.g2})}};
  json loadings = json::array();
  for (Eigen::Index c = 0; c < pc.loadings.cols(); ++c) loadings.push_back(numbers(pc.loadings.col(c).transpose()));
  j["components"] = {{"total_variance", pc.total_variance},
                     {"eigenvalues", numbers(pc.eigenvalues.transpose())},
                     {"percent", numbers(pc.percent.transpose())},
                     {"loadings", std::move(loadings)}};
  j["rows"] = kRowsMark;
  if (!provenance.is_null()) j["provenance"] = provenance;

  const std::string text = json_text(j);
  const std::string mark = json(kRowsMark).dump();
  const std::size_t at = text.find(mark);
  out << text.substr(0, at) << '[';
  const auto m = static_cast<std::size_t>(pc.scores.rows());
  for (std::size_t i = 0; i < m; ++i) {
    // Each record indented as it would be inside the document: two levels.
    std::string record = json_text(row_record(s, r, i));
    std::string indented = "\n    ";
    for (const char c : record) {
      indented += c;
      if (c == '\n') indented += "    ";
    }
    out << indented << (i + 1 < m ? "," : "");
  }
  out << (m > 0 ? "\n  ]" : "]") << text.substr(at + mark.size());
}

void write_shapes_csv(std::ostream& out, const shape_space::ShapeSpace& s, const ShapeRows& r) {
  const shape_space::StudyLabels& l = *r.labels;
  const Eigen::MatrixXd& scores = s.components.scores;
  out << "id,specimen,measurement,G1,G2,centroid_size";
  for (Eigen::Index c = 1; c <= scores.cols(); ++c) out << ",PC" << c;
  out << '\n';
  std::string line;
  for (Eigen::Index i = 0; i < scores.rows(); ++i) {
    const auto row = static_cast<std::size_t>(i);
    line = std::to_string(row + 1) + ',' +
           table_field(row < l.specimens.size() ? l.specimens[row] : std::string(), ',') + ',' +
           csv_level(l.t, (*r.t)(row + 1)) + ',' + csv_level(l.g1, (*r.g1)(row + 1)) + ',' +
           csv_level(l.g2, (*r.g2)(row + 1)) + ',' + number_text(s.centroid_sizes[row]);
    for (Eigen::Index c = 0; c < scores.cols(); ++c) line += ',' + number_text(scores(i, c));
    line += '\n';
    out << line;
  }
}

}  // namespace lumivar::results
