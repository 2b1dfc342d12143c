// --sums: the report by the coordinates is the report by the distance
// matrix, on the example study and on real data (the rat skull study, two
// ages at a time taken as the two measurements).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "batch/commands.h"
#include "batch/sums_option.h"
#include "batch/superimposition_progress.h"
#include "geometry/allpairwiseprocrustes.h"
#include "partition/partition.h"
#include "partition/sums_from_coordinates.h"
#include "runtime/error.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

struct Study {
  std::string name;
  Inputs files;
};

std::string run_text(Command c, CommandLine o, const std::string& sums) {
  testing::KeepWorkingFolder keep;
  o.sums = sums;
  std::ostringstream out, err;
  EXPECT_EQ(run(c, o, out, err), 0) << err.str();
  return out.str();
}

// The rat skull study as three input files per pair of consecutive ages:
// rows 1-18 the rats at the first age, 19-36 at the second; G1 splits rats
// 1-9 from 10-18, G2 puts rat r in group r mod 3.
std::vector<Study> rat_skull_studies(testing::TempFolder& t) {
  std::ifstream in(std::string(LUMIVAR_TEST_DATA) + "/rat_skulls.csv");
  std::string line;
  std::getline(in, line);  // header
  std::map<int, std::map<int, std::string>> rows;  // age -> rat -> landmarks
  while (std::getline(in, line)) {
    std::istringstream f(line);
    std::string rat, age, rest;
    std::getline(f, rat, ',');
    std::getline(f, age, ',');
    std::getline(f, rest);
    rows[std::stoi(age)][std::stoi(rat)] = rest + "," + rat;
  }
  std::string groups;
  for (int r = 1; r <= 18; ++r) groups += std::to_string(r <= 9 ? 1 : 2) + " " + std::to_string(r % 3 + 1) + "\n";
  std::vector<Study> out;
  for (auto a = rows.begin(); std::next(a) != rows.end(); ++a) {
    const auto b = std::next(a);
    std::string data, reps;
    for (const auto* age : {&*a, &*b})
      for (const auto& [rat, landmarks] : age->second) {
        data += landmarks + "\n";
        reps += std::to_string(age->first) + "\n";
      }
    const std::string tag = "rats" + std::to_string(a->first) + "_" + std::to_string(b->first);
    out.push_back({tag, {t.write(tag + "_data.txt", data), t.write(tag + "_reps.txt", reps),
                         t.write(tag + "_groups.txt", groups)}});
  }
  return out;
}

// Every study prints the same varexp and permute text by either way. The
// printed digits alone could hide a sum that differs below the fourth
// decimal, and a digit could flip on a rounding boundary without any fault;
// so the sums themselves are compared too: they agree to 1e-12 relative (the
// effect sums on the scale of the total), which is what makes the equal
// texts more than luck.
TEST(BatchSums, CoordinatesPrintTheMatrixReportOnEveryStudy) {
  testing::TempFolder t;
  std::vector<Study> studies = rat_skull_studies(t);
  ASSERT_EQ(studies.size(), 7u);
  const std::string ex = LUMIVAR_EXAMPLES;
  studies.push_back({"example", {ex + "/landmarks.txt", ex + "/reps.txt", ex + "/groups.txt"}});
  for (const Study& s : studies) {
    SCOPED_TRACE(s.name);
    CommandLine o;
    o.inputs = s.files;
    const std::string by_matrix = run_text(Command::kVarExp, o, "matrix");
    EXPECT_EQ(run_text(Command::kVarExp, o, "coordinates"), by_matrix);
    EXPECT_EQ(run_text(Command::kVarExp, o, "auto"), by_matrix);
    o.permutations = "199";
    o.seed = 5;
    EXPECT_EQ(run_text(Command::kPermute, o, "coordinates"), run_text(Command::kPermute, o, "matrix"));

    BatchSession b(std::cerr);
    {
      testing::KeepWorkingFolder keep;
      b.load(s.files);
    }
    const runtime::Session& session = b.app.session;
    const partition::DesignSizes sizes{static_cast<double>(session.data.rows()), session.n1g(1),
                                       session.n2g(1), session.nrep(1)};
    const geometry::ProcrustesDistances fit = geometry::procrustes_distances(session.data);
    const partition::Partition pm =
        partition::compute_partition(fit.d, session.group, session.repgroup, sizes);
    const partition::Partition pc =
        partition::partition_from_coordinates(fit.xpt, session.group, session.repgroup, sizes);
    EXPECT_NEAR(pc.sstotal, pm.sstotal, 1e-12 * pm.sstotal);
    EXPECT_NEAR(pc.ss_error, pm.ss_error, 1e-12 * pm.sstotal);
    for (int k = 0; k < partition::kEffectCount; ++k)
      EXPECT_NEAR(pc.effects[k].ss, pm.effects[k].ss, 1e-12 * pm.sstotal) << partition::kEffectLabels[k];
  }
}

TEST(BatchSums, NamesAreCheckedAndTheReferenceEngineIsRefusedByCoordinates) {
  EXPECT_EQ(sums_settings("coordinates", 3).sums, partition::SumsMethod::kCoordinates);
  EXPECT_EQ(sums_settings("coordinates", 3).threads, 3);
  EXPECT_THROW(sums_settings("pairs", 0), runtime::Error);

  const std::string ex = LUMIVAR_EXAMPLES;
  CommandLine o;
  o.inputs = {ex + "/landmarks.txt", ex + "/reps.txt", ex + "/groups.txt"};
  o.permutations = "9";
  o.engine = "reference";
  o.sums = "coordinates";
  testing::KeepWorkingFolder keep;
  std::ostringstream out, err;
  EXPECT_EQ(run(Command::kPermute, o, out, err), 1);
  EXPECT_EQ(out.str(), "");
  // Refused from the options alone, before any file is read.
  EXPECT_EQ(err.str().rfind("lumivar-batch: error: --engine reference cannot go with --sums coordinates: the "
                            "reference engine reads the distance matrix",
                            0),
            0u)
      << err.str();
}

std::string progress_text(std::chrono::milliseconds quiet, const std::vector<double>& changes) {
  std::FILE* f = std::tmpfile();
  SuperimpositionProgress p(f, quiet);
  for (std::size_t i = 0; i < changes.size(); ++i) p(static_cast<int>(i) + 1, changes[i]);
  std::rewind(f);
  std::string text;
  for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
  std::fclose(f);
  return text;
}

TEST(SuperimpositionProgressLine, ShowsLongFitsOnlyAndEndsTheLine) {
  const std::vector<double> changes = {1e-2, 3e-6, 1e-12};
  EXPECT_EQ(progress_text(std::chrono::milliseconds(0), changes),
            "\rSuperimposition: pass 1, consensus change 1.0e-02 (stops at 7.5e-10)"
            "\rSuperimposition: pass 3, consensus change 1.0e-12 (stops at 7.5e-10)\n");
  EXPECT_EQ(progress_text(std::chrono::hours(1), changes), "");
}

}  // namespace
}  // namespace lumivar::batch
