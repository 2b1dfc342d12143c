#include "batch/provenance.h"

#include <filesystem>

#include "batch/json_output.h"
#include "batch/sha256.h"

namespace lumivar::batch {

std::string program_version() { return LUMIVAR_VERSION; }

InputFile describe_file(const std::string& role, const std::string& path) {
  const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
  return {role, path, absolute, sha256_file_hex(absolute)};
}

std::vector<InputFile> describe_inputs(const Inputs& inputs) {
  std::vector<InputFile> out;
  const auto add = [&out](const char* role, const std::string& path) { out.push_back(describe_file(role, path)); };
  add("data", inputs.data);
  if (inputs.reps) add("reps", *inputs.reps);
  if (inputs.groups) add("groups", *inputs.groups);
  return out;
}

nlohmann::json provenance_json(const std::vector<InputFile>& inputs,
                               const permutation::PermuteOutcome* run) {
  nlohmann::json files = nlohmann::json::array();
  for (const InputFile& f : inputs)
    files.push_back({{"role", f.role}, {"path", f.path}, {"absolute_path", f.absolute_path},
                     {"sha256", f.sha256}});
  nlohmann::json p = {{"program", "lumivar-batch"}, {"version", program_version()}};
  if (run != nullptr) {
    p["seed"] = run->seed;
    p["permutations"] = run->nperm;
    p["engine"] = engine_name(run->engine);
    p["threads"] = run->threads;
  }
  p["inputs"] = files;
  return p;
}

}  // namespace lumivar::batch
