// The provenance block both programs write: who made the report and when,
// the run, and the inputs as the loads read them.
#include <gtest/gtest.h>

#include "results/provenance.h"

namespace lumivar::results {
namespace {

TEST(Provenance, NamesTheMakerAndTheDateOnlyWhenGiven) {
  const std::vector<InputFile> none;
  const nlohmann::json batch = provenance_json(none);
  EXPECT_EQ(batch["program"], "lumivar-batch");
  EXPECT_FALSE(batch.contains("date"));  // the batch tool's reports stay as they were
  EXPECT_FALSE(batch.contains("seed"));

  permutation::PermutationTest run;
  run.plan.seed = 18446744073709551615ull;  // every 64-bit seed survives the trip
  run.plan.nperm = 999;
  run.engine = permutation::Engine::kReference;
  run.plan.threads = 3;
  const nlohmann::json window = provenance_json(none, &run, {"lumivar", "2026-12-07T10:00:00Z"});
  EXPECT_EQ(window["program"], "lumivar");
  EXPECT_EQ(window["date"], "2026-12-07T10:00:00Z");
  EXPECT_EQ(window["seed"].get<std::uint64_t>(), 18446744073709551615ull);
  EXPECT_EQ(window["permutations"], 999);
  EXPECT_EQ(window["engine"], "reference");
  EXPECT_EQ(window["threads"], 3);
}

TEST(Provenance, LoadedInputsAreThoseReadInRoleOrder) {
  runtime::InputSources s;
  s.data = {"/study/./raw/../landmarks.txt", "aa"};
  s.groups = {"/study/groups.txt", "cc"};
  const std::vector<InputFile> files = loaded_inputs(s);
  ASSERT_EQ(files.size(), 2u);  // the measurement codes were not loaded
  EXPECT_EQ(files[0].role, "data");
  EXPECT_EQ(files[0].path, "/study/./raw/../landmarks.txt");
  EXPECT_EQ(files[0].absolute_path, "/study/landmarks.txt");
  EXPECT_EQ(files[0].sha256, "aa");
  EXPECT_EQ(files[1].role, "groups");
  EXPECT_EQ(files[1].sha256, "cc");
}

}  // namespace
}  // namespace lumivar::results
