// "shapes": the shape space of a study as JSON, CSV and pictures, from the
// three plain files and from a landmark file with a sheet.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "batch/batch_run.h"
#include "batch/run_tool.h"
#include "geometry/centsize.h"
#include "input/dload.h"
#include "support/temp_files.h"
#include "support/text_lines.h"

namespace lumivar::batch {
namespace {

using nlohmann::json;

std::string example(const std::string& name) { return std::string(LUMIVAR_EXAMPLES) + "/" + name; }

CommandLine example_study(const std::string& format) {
  CommandLine o;
  o.inputs = {example("landmarks.txt"), example("reps.txt"), example("groups.txt")};
  o.format = format;
  return o;
}

TEST(ShapesCommand, JsonHoldsComponentsMeansAndOneRecordPerRow) {
  const BatchRun r = run_batch(Command::kShapes, example_study("json"));
  ASSERT_EQ(r.status, 0) << r.err;
  const json j = json::parse(r.out);
  EXPECT_EQ(j["dimension"], 2);
  EXPECT_EQ(j["landmarks"], 12);
  EXPECT_EQ(j["consensus"].size(), 24u);
  // 24 coordinates less translation, scale and rotation.
  const json& pc = j["components"];
  ASSERT_EQ(pc["eigenvalues"].size(), 20u);
  double percent = 0;
  for (const json& p : pc["percent"]) percent += p.get<double>();
  EXPECT_NEAR(percent, 100, 1e-9);
  EXPECT_EQ(pc["loadings"].size(), 20u);
  EXPECT_EQ(pc["loadings"][0].size(), 24u);

  ASSERT_EQ(j["mean_shapes"]["G1"].size(), 2u);
  EXPECT_EQ(j["mean_shapes"]["G1"][0]["rows"], 40);
  EXPECT_EQ(j["mean_shapes"]["T"].size(), 2u);
  EXPECT_EQ(j["mean_shapes"]["G1xG2"].size(), 4u);
  EXPECT_TRUE(j["mean_shapes"]["G1xG2"][0].contains("G2"));
  EXPECT_FALSE(j["mean_shapes"]["G1"][0].contains("name"));  // no sheet: codes only

  const runtime::Matrix data = input::dload(example("landmarks.txt"));
  const runtime::Matrix sizes = geometry::centsize(data);
  ASSERT_EQ(j["rows"].size(), 80u);
  for (std::size_t i : {0u, 41u, 79u}) {
    const json& row = j["rows"][i];
    EXPECT_EQ(row["id"], i + 1);
    // The specimen is the landmark file's trailing value; sizes are of the rows as loaded.
    EXPECT_EQ(row["specimen"], std::to_string(static_cast<int>(data(i + 1, data.cols()))));
    EXPECT_NEAR(row["centroid_size"].get<double>(), sizes(i + 1), 1e-12 * sizes(i + 1));
    EXPECT_EQ(row["scores"].size(), 20u);
  }
  // The scores of each component average zero and have its eigenvalue as variance.
  double sum = 0, squares = 0;
  for (const json& row : j["rows"]) {
    sum += row["scores"][0].get<double>();
    squares += std::pow(row["scores"][0].get<double>(), 2);
  }
  EXPECT_NEAR(sum, 0, 1e-12);
  EXPECT_NEAR(squares / 79, pc["eigenvalues"][0].get<double>(), 1e-12);
  EXPECT_TRUE(j.contains("provenance"));
}

TEST(ShapesCommand, CsvIsTheRowTableOfTheJsonLimitedToTheComponentsAsked) {
  CommandLine o = example_study("csv");
  o.components = 3;
  const BatchRun csv = run_batch(Command::kShapes, o);
  ASSERT_EQ(csv.status, 0) << csv.err;
  o.format = "json";
  const json j = json::parse(run_batch(Command::kShapes, o).out);
  const auto rows = testing::table_fields(csv.out, ',');
  ASSERT_EQ(rows.size(), 81u);
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "id,specimen,measurement,G1,G2,centroid_size,PC1,PC2,PC3");
  for (std::size_t i = 1; i <= 80; ++i) {
    const json& row = j["rows"][i - 1];
    ASSERT_EQ(rows[i].size(), 9u);
    EXPECT_EQ(rows[i][0], std::to_string(i));
    EXPECT_EQ(std::stod(rows[i][3]), row["G1"].get<double>());
    // Both forms write each number so that it reads back to the same double.
    EXPECT_EQ(std::stod(rows[i][5]), row["centroid_size"].get<double>());
    for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(std::stod(rows[i][6 + c]), row["scores"][c].get<double>());
  }
}

TEST(ShapesCommand, SheetNamesLabelRowsAndLevelsAndAnyDesignIsTaken) {
  testing::TempFolder t;
  // Five specimens (an unbalanced design: three males, two females), four landmarks.
  std::string tps, sheet = "id,specimen,measurement,G1,G2\n";
  const char* sexes[] = {"male", "female", "male", "female", "male"};
  for (int s = 0; s < 5; ++s)
    for (const char* day : {"day7", "day40"}) {
      const std::string id = "sp" + std::to_string(s) + day;
      tps += "LM=4\n";
      for (int j = 0; j < 4; ++j)
        tps += std::to_string(std::cos(j * 1.6 + s * 0.05) * (1 + 0.1 * j * (day[3] == '4'))) + " " +
               std::to_string(std::sin(j * 1.6) + 0.02 * s * j) + "\n";
      tps += "ID=" + id + "\n";
      sheet += id + ",rat" + std::to_string(s) + "," + day + "," + sexes[s] + ",north\n";
    }
  CommandLine o;
  o.study.sources.landmarks = t.write("s.tps", tps);
  o.study.sources.sheet = t.write("sheet.csv", sheet);
  o.format = "csv";
  o.plot_dir = t.path() + "/pictures";
  const BatchRun r = run_batch(Command::kShapes, o);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = testing::table_fields(r.out, ',');
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows[1][1], "rat0");
  EXPECT_EQ(rows[2][3], "female");
  EXPECT_EQ(rows[7][1], "rat1");  // rows 6-10: the second measurement
  EXPECT_EQ(rows[7][2], "day7");  // sorted: "day40" < "day7" as words
  // The pictures, named on standard error; G2 has one level: no change picture for it.
  for (const char* name : {"pc_G1.svg", "means_T.svg", "change_G1.svg", "change_T.svg", "change_PC1.svg"})
    EXPECT_TRUE(std::filesystem::exists(o.plot_dir + "/" + name)) << name;
  EXPECT_FALSE(std::filesystem::exists(o.plot_dir + "/change_G2.svg"));
  EXPECT_NE(r.err.find("Wrote " + o.plot_dir + "/pc_G1.svg"), std::string::npos) << r.err;
  EXPECT_NE(testing::read_file(o.plot_dir + "/pc_G1.svg").find("G1 = female"), std::string::npos);

  o.format = "json";
  o.plot_dir.clear();
  const json j = json::parse(run_batch(Command::kShapes, o).out);
  EXPECT_EQ(j["mean_shapes"]["G1"][0]["name"], "male");
  EXPECT_EQ(j["mean_shapes"]["G1"][0]["rows"], 6);
  EXPECT_EQ(j["rows"][0]["G1"], "male");
  EXPECT_EQ(j["provenance"]["inputs"].size(), 2u);

  // The analyses that need a balanced design still refuse it.
  o.format = "text";
  EXPECT_EQ(run_batch(Command::kVarExp, o).status, 1);
}

TEST(ShapesCommand, PicturesOfAStudyInThreeDimensionsAreDrawnInProjections) {
  CommandLine o;
  o.inputs = {example("3d/landmarks.txt"), example("3d/reps.txt"), example("3d/groups.txt")};
  o.format = "json";
  testing::TempFolder t;
  o.plot_dir = t.path() + "/pictures";
  const BatchRun r = run_batch(Command::kShapes, o);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(r.out)["dimension"], 3);
  // Every picture a 2-D study gets; the changes say why they have no grid.
  for (const char* name : {"pc_G1.svg", "means_G1.svg", "means_T.svg", "change_G1.svg", "change_G2.svg",
                           "change_T.svg", "change_PC1.svg"}) {
    const std::string svg = testing::read_file(o.plot_dir + "/" + name);
    EXPECT_FALSE(svg.empty()) << name;
    if (std::string(name).rfind("pc_", 0) == 0) continue;
    EXPECT_NE(svg.find("side (z, y)"), std::string::npos) << name;
  }
  EXPECT_NE(testing::read_file(o.plot_dir + "/change_T.svg").find("no thin-plate-spline grid"), std::string::npos);
}

TEST(ShapesCommand, RefusesMissingCodesWithoutPrintingATable) {
  CommandLine o = example_study("json");
  testing::TempFolder t;
  o.inputs.reps = t.write("reps.txt", "1\n2\n");
  const BatchRun r = run_batch(Command::kShapes, o);
  EXPECT_EQ(r.status, 1);
  // Standard output holds the error object alone, no table.
  EXPECT_EQ(nlohmann::json::parse(r.out).size(), 1u) << r.out;
  EXPECT_NE(r.err.find("one code per row of landmark data"), std::string::npos) << r.err;
}

TEST(ShapesCommand, ItsOptionsAreItsOwnOnTheCommandLine) {
  std::vector<std::string> words = {"shapes", "--data", example("landmarks.txt"), "--reps", example("reps.txt"),
                                    "--groups", example("groups.txt")};
  // JSON by default for shapes, while the reports keep their text default.
  const testing::ToolRun shapes = testing::run_tool(words);
  ASSERT_EQ(shapes.status, 0) << shapes.err;
  EXPECT_EQ(shapes.out.front(), '{');
  words[0] = "varexp";
  const testing::ToolRun varexp = testing::run_tool(words);
  ASSERT_EQ(varexp.status, 0) << varexp.err;
  EXPECT_NE(varexp.out.front(), '{');
  words[0] = "shapes";
  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"--format", "text"}, {"--magnification", "0"}, {"--magnification", "x"},
        {"--components", "0"}}) {
    std::vector<std::string> all = words;
    all.insert(all.end(), wrong.begin(), wrong.end());
    const testing::ToolRun r = testing::run_tool(all);
    EXPECT_EQ(r.status, 1) << wrong[0] << " " << wrong[1];
    EXPECT_EQ(r.out, "") << wrong[0] << " " << wrong[1];
  }
}

}  // namespace
}  // namespace lumivar::batch
