// The saved forms of a shape space: the row table's quoting and numbers, and
// the streamed JSON document, which must parse as one document.
#include "results/shape_space_forms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

namespace lumivar::results {
namespace {

// Two rows of two coordinates with one component; the second row's size
// could not be computed.
struct Fixture {
  shape_space::ShapeSpace s;
  runtime::Matrix g1 = runtime::Matrix::column({1, 2.5});
  runtime::Matrix g2 = runtime::Matrix::column({3, 3});
  runtime::Matrix t = runtime::Matrix::column({1, 2});
  shape_space::StudyLabels labels;
  Fixture() {
    s.landmarks = 1;
    s.consensus = Eigen::RowVector2d(0.5, -0.5);
    s.components.mean = s.consensus;
    s.components.eigenvalues = Eigen::VectorXd::Constant(1, 0.25);
    s.components.percent = Eigen::VectorXd::Constant(1, 100);
    s.components.loadings = Eigen::Vector2d(1, 0);
    s.components.scores = Eigen::Vector2d(-0.1, 0.1);
    s.centroid_sizes = {2.0, std::nan("")};
    s.t = {{{1}, 1, Eigen::RowVector2d(0.4, -0.5)}, {{2}, 1, Eigen::RowVector2d(0.6, -0.5)}};
    labels.specimens = {"rat \"A\", left", "b"};
  }
  ShapeRows rows() const { return {&g1, &g2, &t, &labels}; }
};

TEST(ShapeSpaceForms, CsvQuotesNamesAndWritesNumbersInFull) {
  Fixture f;
  f.labels.t = {{1, "day7"}, {2, "day40"}};
  std::ostringstream out;
  write_shapes_csv(out, f.s, f.rows());
  EXPECT_EQ(out.str(),
            "id,specimen,measurement,G1,G2,centroid_size,PC1\n"
            "1,\"rat \"\"A\"\", left\",day7,1,3,2,-0.1\n"
            "2,b,day40,2.5,3,NaN,0.1\n");
}

TEST(ShapeSpaceForms, JsonIsOneDocumentWithWholeCodesAndNullForNaN) {
  const Fixture f;
  std::ostringstream out;
  write_shapes_json(out, f.s, f.rows(), nlohmann::json{{"program", "test"}});
  const nlohmann::json j = nlohmann::json::parse(out.str());
  ASSERT_EQ(j["rows"].size(), 2u);
  EXPECT_EQ(j["rows"][0]["specimen"], "rat \"A\", left");
  EXPECT_TRUE(j["rows"][0]["G1"].is_number_integer());  // 1, not 1.0
  EXPECT_EQ(j["rows"][1]["G1"], 2.5);
  EXPECT_TRUE(j["rows"][1]["centroid_size"].is_null());
  EXPECT_EQ(j["rows"][1]["scores"][0], 0.1);
  EXPECT_EQ(j["mean_shapes"]["T"][1]["code"], 2);
  EXPECT_FALSE(j["mean_shapes"]["T"][1].contains("name"));
  EXPECT_EQ(j["provenance"]["program"], "test");
  // Indented as one document: the rows two levels in, like the rest.
  EXPECT_NE(out.str().find("\n  \"rows\": [\n    {\n      \""), std::string::npos) << out.str();

  Fixture none;
  none.s.components.scores.resize(0, 1);
  none.s.centroid_sizes.clear();
  std::ostringstream empty;
  write_shapes_json(empty, none.s, none.rows());
  EXPECT_EQ(nlohmann::json::parse(empty.str())["rows"], nlohmann::json::array());
}

}  // namespace
}  // namespace lumivar::results
