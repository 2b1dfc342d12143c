#include "results/provenance.h"

#include <filesystem>
#include <fstream>
#include <string_view>

#include "results/json_output.h"
#include "runtime/error.h"
#include "runtime/sha256.h"

namespace lumivar::results {

std::string program_version() { return LUMIVAR_VERSION; }

InputFile describe_file(const std::string& role, const std::string& path) {
  const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
  std::ifstream in(absolute, std::ios::binary);
  if (!in) runtime::raise("Cannot read " + path + " to take its SHA-256.");
  runtime::Sha256 digest;
  std::string block(1 << 16, '\0');
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
    digest.update(std::string_view(block.data(), static_cast<std::size_t>(in.gcount())));
  return {role, path, absolute, digest.hex_digest()};
}

InputFile loaded_input(const std::string& role, const std::string& path,
                       const runtime::InputSource& read) {
  const std::string absolute = std::filesystem::path(read.path).lexically_normal().string();
  return {role, path, absolute, read.sha256};
}

std::vector<InputFile> loaded_inputs(const runtime::InputSources& sources) {
  std::vector<InputFile> out;
  const auto add = [&out](const char* role, const runtime::InputSource& read) {
    if (!read.path.empty()) out.push_back(loaded_input(role, read.path, read));
  };
  add("data", sources.data);
  add("reps", sources.reps);
  add("groups", sources.groups);
  return out;
}

nlohmann::json provenance_json(const std::vector<InputFile>& inputs,
                               const permutation::PermutationTest* run, const Maker& maker) {
  nlohmann::json files = nlohmann::json::array();
  for (const InputFile& f : inputs)
    files.push_back({{"role", f.role}, {"path", f.path}, {"absolute_path", f.absolute_path},
                     {"sha256", f.sha256}});
  nlohmann::json p = {{"program", maker.program}, {"version", program_version()}};
  if (!maker.date.empty()) p["date"] = maker.date;
  if (!maker.sums.empty()) p["sums"] = maker.sums;
  if (!maker.command_line.empty()) p["command_line"] = maker.command_line;
  if (run != nullptr) {
    p["seed"] = run->plan.seed;
    p["seed_text"] = std::to_string(run->plan.seed);
    p["permutations"] = run->plan.nperm;
    p["engine"] = engine_name(run->engine);
    p["threads"] = run->plan.threads;
  }
  p["inputs"] = files;
  return p;
}

}  // namespace lumivar::results
