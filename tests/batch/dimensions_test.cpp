// Every analysis on three-dimensional landmarks: a flat study written in 3-D
// (every z = 0) reports what the 2-D study reports, by both ways to the sums,
// both engines and the tests by strata; a 3-D study turned in space reports
// the same; and an imported 3-D study keeps its dimension through its files.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "batch/batch_run.h"
#include "batch/run_tool.h"
#include "geometry/landmark_fixtures_3d.h"
#include "study/landmark_file.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

std::string run_text(Command c, const CommandLine& o) {
  const BatchRun r = run_batch(c, o);
  EXPECT_EQ(r.status, 0) << r.err;
  return r.out;
}

std::vector<std::vector<double>> rows_of(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::vector<double>> rows;
  for (std::string line; std::getline(in, line);) {
    std::istringstream f(line);
    rows.emplace_back();
    for (double v; f >> v;) rows.back().push_back(v);
  }
  return rows;
}

std::string lines_of(const std::vector<std::vector<double>>& rows) {
  std::string s;
  for (const auto& r : rows) {
    for (std::size_t j = 0; j < r.size(); ++j) s += study::number_text(r[j]) + (j + 1 < r.size() ? " " : "\n");
  }
  return s;
}

// The example study, and the same with a z = 0 after every x and y.
struct FlatStudy {
  FlatStudy() {
    const std::string ex = LUMIVAR_EXAMPLES;
    flat = {ex + "/landmarks.txt", ex + "/reps.txt", ex + "/groups.txt"};
    std::vector<std::vector<double>> rows = rows_of(flat.data);
    for (auto& r : rows) {
      std::vector<double> padded;
      for (std::size_t j = 0; j + 1 < r.size(); j += 2) padded.insert(padded.end(), {r[j], r[j + 1], 0.0});
      padded.push_back(r.back());
      r = padded;
    }
    raised = flat;
    raised.data = t.write("landmarks_3d.txt", lines_of(rows));
    raised.dimensions = 3;
  }
  testing::TempFolder t;
  Inputs flat, raised;
};

TEST(Dimensions, FlatStudyInThreeDimensionsReportsAsInTwo) {
  const FlatStudy s;
  CommandLine two, three;
  two.inputs = s.flat;
  three.inputs = s.raised;
  for (const char* sums : {"matrix", "coordinates"}) {
    SCOPED_TRACE(sums);
    two.sums = three.sums = sums;
    two.strata = three.strata = false;
    EXPECT_EQ(run_text(Command::kVarExp, three), run_text(Command::kVarExp, two));
    two.strata = three.strata = true;
    EXPECT_EQ(run_text(Command::kVarExp, three), run_text(Command::kVarExp, two));
  }
  two.strata = three.strata = false;
  two.permutations = three.permutations = "99";
  two.seed = three.seed = 8;
  for (const char* engine : {"fast", "reference"}) {
    SCOPED_TRACE(engine);
    two.engine = three.engine = engine;
    two.sums = three.sums = "matrix";
    EXPECT_EQ(run_text(Command::kPermute, three), run_text(Command::kPermute, two));
  }
}

TEST(Dimensions, StudyTurnedInSpaceReportsTheSame) {
  // A 3-D study of 24 specimens at two measurements, and the same with every
  // row turned, scaled and moved anew: no number of any report changes.
  testing::TempFolder t;
  runtime::Matrix x = testing::random_landmarks_3d(48, 7, 13, 0.2);
  std::string reps, groups;
  for (std::size_t i = 1; i <= 48; ++i) {
    reps += i <= 24 ? "1\n" : "2\n";
    if (i <= 24) groups += std::to_string(i % 2 + 1) + " " + std::to_string((i / 2) % 2 + 1) + "\n";
    if (i > 24)  // a shape change between the measurements, for effects worth testing
      x(i, 1) += 0.1 * std::cos(static_cast<double>(i));
  }
  const auto text_of = [](const runtime::Matrix& m) {
    std::vector<std::vector<double>> rows(m.rows());
    for (std::size_t i = 1; i <= m.rows(); ++i)
      for (std::size_t j = 1; j <= m.cols(); ++j) rows[i - 1].push_back(m(i, j));
    return lines_of(rows);
  };
  runtime::Matrix turned = x;
  std::mt19937_64 rng(4);
  for (std::size_t i = 1; i <= 48; ++i)
    testing::apply_similarity_3d(turned, i, 2.0, testing::random_rotation(rng), Eigen::Vector3d(1, 2, 3));
  CommandLine a, b;
  a.inputs = {t.write("a.txt", text_of(x)), t.write("reps.txt", reps), t.write("groups.txt", groups), 3};
  b.inputs = a.inputs;
  b.inputs.data = t.write("b.txt", text_of(turned));
  a.strata = b.strata = true;
  EXPECT_EQ(run_text(Command::kVarExp, b), run_text(Command::kVarExp, a));
  a.permutations = b.permutations = "49";
  a.seed = b.seed = 2;
  a.strata = b.strata = false;
  EXPECT_EQ(run_text(Command::kPermute, b), run_text(Command::kPermute, a));
}

TEST(Dimensions, ImportedThreeDimensionalStudyLoadsBackAsSuch) {
  testing::TempFolder t;
  std::string tps, sheet = "id,specimen,measurement,G1,G2\n";
  for (int i = 0; i < 8; ++i) {
    tps += "LM=3\n0 0 0\n1 " + std::to_string(i % 3) + " 0\n0 1 " + std::to_string(1 + i) + "\nID=s" +
           std::to_string(i) + "\n";
    sheet += "s" + std::to_string(i) + ",sp" + std::to_string(i % 4) + "," + std::to_string(i / 4) + "," +
             std::to_string(i % 2) + "," + std::to_string((i / 2) % 2) + "\n";
  }
  CommandLine o;
  o.study.sources = {t.write("skulls.tps", tps), t.write("sheet.csv", sheet), "", false, 0};
  o.study.out_dir = t.path() + "/plain";
  const std::string summary = run_text(Command::kImport, o);
  EXPECT_NE(summary.find("3 landmarks (3-D): 8 rows."), std::string::npos) << summary;
  const std::string written = testing::file_text(t.path() + "/plain/landmarks.txt");
  EXPECT_EQ(written.substr(written.size() - 16), "\n\ndimensions: 3\n");

  CommandLine load;
  load.inputs.data = t.path() + "/plain/landmarks.txt";
  EXPECT_EQ(run_text(Command::kLoad, load), "File: landmarks.txt \n   8 Specimens \n   3 Landmarks (3-D)\n");
  load.inputs.dimensions = 2;
  const BatchRun refused = run_batch(Command::kLoad, load);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("says its landmarks have 3 coordinates"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace lumivar::batch
