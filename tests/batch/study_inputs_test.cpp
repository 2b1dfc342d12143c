// The rat skull growth study (tests/data/rat_skulls.csv) at 7 and 150 days,
// kept as researchers keep it: a TPS file or a CSV with a header, in
// shuffled order, and a specimen sheet. The study has no groups of its own;
// this test assigns them: G1 "control" for the nine lowest-numbered rats
// and "treated" for the other nine, G2 the rat's rank in number order modulo
// 3 plus 1, so every G1 x G2 cell holds three rats. Every report must be byte-identical to the one from the three
// plain files of the same study.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "batch/batch_session.h"
#include "batch/commands.h"
#include "batch/study_inputs.h"
#include "runtime/error.h"
#include "runtime/sha256.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

struct BatchRun {
  int status;
  std::string out;
  std::string err;
};

BatchRun run_batch(Command c, const CommandLine& o) {
  testing::KeepWorkingFolder keep;
  std::ostringstream out, err;
  const int status = run(c, o, out, err);
  return {status, out.str(), err.str()};
}

std::string read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Skull {
  int rat;
  int age;
  std::vector<std::string> xy;  // as published
  std::string id() const { return "r" + std::to_string(rat) + "_d" + std::to_string(age); }
};

std::vector<Skull> skulls_at(std::initializer_list<int> ages) {
  std::istringstream csv(read(std::string(LUMIVAR_TEST_DATA) + "/rat_skulls.csv"));
  std::string line;
  std::getline(csv, line);  // header
  std::vector<Skull> out;
  while (std::getline(csv, line)) {
    std::vector<std::string> cells;
    std::stringstream cs(line);
    for (std::string c; std::getline(cs, c, ',');) cells.push_back(c);
    Skull s{std::stoi(cells[0]), std::stoi(cells[1]), {cells.begin() + 2, cells.end()}};
    if (std::find(ages.begin(), ages.end(), s.age) != ages.end()) out.push_back(s);
  }
  return out;
}

class RatStudy : public ::testing::Test {
 protected:
  void SetUp() override {
    skulls = skulls_at({7, 150});
    ASSERT_EQ(skulls.size(), 36u);
    std::map<std::pair<int, int>, const Skull*> by;
    for (const Skull& s : skulls) by[{s.rat, s.age}] = &s;
    ASSERT_EQ(by.size(), 36u);
    for (int rat : kOrder) ASSERT_TRUE(by.count({rat, 7}) && by.count({rat, 150})) << rat;

    // The three plain files, specimens in the sheet's order.
    std::string landmarks, reps, groups;
    for (int age : {7, 150}) {
      for (std::size_t i = 0; i < kOrder.size(); ++i) {
        for (const std::string& v : by[{kOrder[i], age}]->xy) landmarks += v + " ";
        landmarks += std::to_string(i + 1) + "\n";
        reps += std::to_string(age) + "\n";
      }
    }
    for (int rat : kOrder) groups += std::to_string(g1(rat) == "control" ? 1 : 2) + " " + g2(rat) + "\n";
    plain.inputs.data = t.write("landmarks.txt", landmarks);
    plain.inputs.reps = t.write("reps.txt", reps);
    plain.inputs.groups = t.write("groups.txt", groups);

    // The sheet: every rat's 150-day line in the chosen order, then the
    // 7-day lines backwards; the first line of each rat sets its place.
    std::string sheet = "Image,Rat,Age,Treatment,Litter\n";
    const auto line = [this](int rat, int age) {
      return "r" + std::to_string(rat) + "_d" + std::to_string(age) + ",rat" + std::to_string(rat) + "," +
             std::to_string(age) + "," + g1(rat) + "," + g2(rat) + "\n";
    };
    for (int rat : kOrder) sheet += line(rat, 150);
    for (auto it = kOrder.rbegin(); it != kOrder.rend(); ++it) sheet += line(*it, 7);
    study.study.sources.sheet = t.write("sheet.csv", sheet);
    study.study.sources.columns = "id=Image,specimen=Rat,measurement=Age,G1=Treatment,G2=Litter";

    std::vector<Skull> shuffled = skulls;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(2026));
    // TPS with coordinates in pixels of a quarter unit, some named by picture.
    std::string tps;
    for (const Skull& s : shuffled) {
      tps += "LM=8\n";
      for (std::size_t j = 0; j < 16; j += 2)
        tps += std::to_string(std::stoi(s.xy[j]) * 4) + " " + std::to_string(std::stoi(s.xy[j + 1]) * 4) + "\n";
      tps += s.rat % 2 == 0 ? "IMAGE=scans/" + s.id() + ".tif\n" : "ID=" + s.id() + "\n";
      tps += "SCALE=0.25\nCOMMENT=rat " + std::to_string(s.rat) + "\n";
    }
    tps_path = t.write("skulls.tps", tps);
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    std::string csv = "id,rat,age";
    for (int k = 1; k <= 8; ++k) csv += ",x" + std::to_string(k) + ",y" + std::to_string(k);
    csv += "\n";
    for (const Skull& s : shuffled) {
      csv += s.id() + "," + std::to_string(s.rat) + "," + std::to_string(s.age);
      for (const std::string& v : s.xy) csv += "," + v;
      csv += "\n";
    }
    csv_path = t.write("skulls.csv", csv);
  }

  // The rats are numbered 1 to 21 with gaps; groups go by rank in number order.
  std::size_t rank(int rat) const {
    std::vector<int> sorted = kOrder;
    std::sort(sorted.begin(), sorted.end());
    return static_cast<std::size_t>(std::find(sorted.begin(), sorted.end(), rat) - sorted.begin());
  }
  std::string g1(int rat) const { return rank(rat) < 9 ? "control" : "treated"; }
  std::string g2(int rat) const { return std::to_string(rank(rat) % 3 + 1); }

  CommandLine from(const std::string& landmarks) const {
    CommandLine o = study;
    o.study.sources.landmarks = landmarks;
    return o;
  }

  // Every rat of the study, in the order the sheet lists them first.
  const std::vector<int> kOrder = {5, 12, 1, 19, 9, 4, 14, 7, 10, 2, 16, 11, 6, 17, 21, 15, 8, 18};
  std::vector<Skull> skulls;
  testing::TempFolder t;
  CommandLine plain, study;
  std::string tps_path, csv_path;
};

TEST_F(RatStudy, TpsAndCsvWithASheetReportAsTheirThreePlainFiles) {
  const BatchRun varexp = run_batch(Command::kVarExp, plain);
  ASSERT_EQ(varexp.status, 0) << varexp.err;
  CommandLine perm = plain;
  perm.permutations = "99";
  perm.seed = 11;
  const BatchRun permute = run_batch(Command::kPermute, perm);
  ASSERT_EQ(permute.status, 0) << permute.err;

  for (const std::string& landmarks : {tps_path, csv_path}) {
    const BatchRun v = run_batch(Command::kVarExp, from(landmarks));
    ASSERT_EQ(v.status, 0) << v.err;
    EXPECT_EQ(v.out, varexp.out) << landmarks;
    CommandLine p = from(landmarks);
    p.permutations = "99";
    p.seed = 11;
    EXPECT_EQ(run_batch(Command::kPermute, p).out, permute.out) << landmarks;
  }

  // The status texts: the landmark file's name, the sheet's for the codes.
  const BatchRun load = run_batch(Command::kLoad, from(tps_path));
  EXPECT_EQ(load.out,
            "File: skulls.tps \n  36 Specimens \n   8 Landmarks\n"
            "File: sheet.csv \n of the repeated measures group codes loaded\nThere are 2 group codes \n"
            " which means 18.000000 specimens per group\n"
            "File: sheet.csv \n of the group codes loaded\nThere are 18 group codes \n"
            " which should match the specimens per time 18.000000\n"
            "Column 1 had 2 distinct codes, column 2 had 3 distinct codes\n");
  EXPECT_EQ(load.err, "");
}

TEST_F(RatStudy, ImportWritesThePlainFilesAndTheCodes) {
  CommandLine o = from(tps_path);
  o.study.out_dir = t.path() + "/imported";
  const BatchRun r = run_batch(Command::kImport, o);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "18 specimens at 2 measurements (7, 150), 8 landmarks: 36 rows.\n"
            "G1: control = 1 (9 specimens), treated = 2 (9 specimens)\n"
            "G2: 1 (6 specimens), 2 (6 specimens), 3 (6 specimens)\n");
  EXPECT_EQ(read(o.study.out_dir + "/landmarks.txt"), read(plain.inputs.data));
  EXPECT_EQ(read(o.study.out_dir + "/reps.txt"), read(*plain.inputs.reps));
  const std::string codes = read(o.study.out_dir + "/codes.txt");
  EXPECT_EQ(codes.rfind("column\tvalue\tcode\nspecimen\trat5\t1\nspecimen\trat12\t2\n", 0), 0u);
  EXPECT_NE(codes.find("\nmeasurement\t150\t150\nmeasurement\t7\t7\nG1\tcontrol\t1\nG1\ttreated\t2\n"),
            std::string::npos);

  // The files written read back as the same study.
  CommandLine back;
  back.inputs.data = o.study.out_dir + "/landmarks.txt";
  back.inputs.reps = o.study.out_dir + "/reps.txt";
  back.inputs.groups = o.study.out_dir + "/groups.txt";
  EXPECT_EQ(run_batch(Command::kVarExp, back).out, run_batch(Command::kVarExp, plain).out);

  // A second import into the same folder overwrites nothing.
  const BatchRun again = run_batch(Command::kImport, o);
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, "lumivar-batch: error: The folder " + o.study.out_dir +
                           " already exists; nothing was written. Give a folder that does not exist yet: the "
                           "import makes it.\n");
}

TEST_F(RatStudy, JsonNamesBothSourceFilesWithTheirHashes) {
  CommandLine o = from(csv_path);
  o.format = "json";
  const BatchRun r = run_batch(Command::kVarExp, o);
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json inputs = nlohmann::json::parse(r.out)["provenance"]["inputs"];
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[0]["role"], "landmarks");
  EXPECT_EQ(inputs[0]["path"], csv_path);
  EXPECT_EQ(inputs[0]["sha256"], runtime::sha256_hex(read(csv_path)));
  EXPECT_EQ(inputs[1]["role"], "sheet");
  EXPECT_EQ(inputs[1]["sha256"], runtime::sha256_hex(read(study.study.sources.sheet)));
}

TEST_F(RatStudy, ARefusedStudyLoadsNothingAndSaysWhy) {
  // The 150-day skull of rat 4 left out of the landmark file.
  std::string csv = read(csv_path);
  const std::size_t at = csv.find("r4_d150,");
  csv.erase(at, csv.find('\n', at) + 1 - at);
  const BatchRun r = run_batch(Command::kVarExp, from(t.write("short.csv", csv)));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "lumivar-batch: error: The study cannot be built from " + t.path() + "/short.csv and " +
                       study.study.sources.sheet + " (1 problem): id \"r4_d150\" (" + study.study.sources.sheet +
                       ", line 7) is not in the landmark file " + t.path() + "/short.csv.\n");
}

TEST_F(RatStudy, ACancelledImportLeavesTheLoadedStudyAsItWas) {
  testing::KeepWorkingFolder keep;
  std::ostringstream err;
  BatchSession b(err);
  b.load(plain.inputs);
  const runtime::Matrix data = b.app.session.data;
  const std::string box = b.box_text("FileBox");
  b.app.load_progress_bytes = 0;  // every file shows its progress, and Cancel is pressed
  b.ui.cancel_progress_after = 1;
  EXPECT_THROW(load_study_files(b, from(tps_path).study), runtime::Cancelled);
  EXPECT_EQ(b.box_text("FileBox"), box);
  EXPECT_EQ(b.app.session.data, data);
  EXPECT_EQ(b.app.session.sources.data.path, plain.inputs.data);
  ASSERT_EQ(b.ui.progress_runs.size(), 1u);
  EXPECT_EQ(b.ui.progress_runs[0].title, "Loading skulls.tps (MB)");
}

// Ctrl-C while a large landmark file is imported: "Cancelled", status 130,
// and nothing written.
TEST(StudyImport, CtrlCStopsALargeImportWritingNothing) {
  testing::TempFolder t;
  std::string tps;
  for (int i = 0; tps.size() < (std::size_t{9} << 20); ++i)
    tps += "LM=2\n1 2\n3 4\nID=s" + std::to_string(i) + "\n";
  CommandLine o;
  o.study.sources.landmarks = t.write("big.tps", tps);
  o.study.sources.sheet = t.write("sheet.csv", "id,specimen,measurement,G1,G2\ns0,a,1,1,1\n");
  o.study.out_dir = t.path() + "/out";
  const std::atomic<bool> pressed{true};
  o.cancel = &pressed;
  const BatchRun r = run_batch(Command::kImport, o);
  EXPECT_EQ(r.status, kCancelledStatus);
  EXPECT_EQ(r.err, "Cancelled: Loading big.tps was cancelled after 0 of 10 MB; nothing was loaded.\n");
  EXPECT_FALSE(std::filesystem::exists(o.study.out_dir));
}

}  // namespace
}  // namespace lumivar::batch
