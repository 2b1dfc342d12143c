#pragma once
// What a JSON report needs so that its numbers can be traced and repeated:
// the program's version, how a permutation run was made, and exactly which
// input files were read (their names and SHA-256).
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "batch/batch_session.h"
#include "permutation/permute.h"

namespace lumivar::batch {

// The version of this build (the project's version in CMake).
std::string program_version();

struct InputFile {
  std::string role;           // "data", "reps" or "groups"
  std::string path;           // as given on the command line
  std::string absolute_path;  // resolved against the folder the tool started in
  std::string sha256;         // of the file's bytes
};

// Describes and hashes one input file given as `path`.
InputFile describe_file(const std::string& role, const std::string& path);

// Describes and hashes the input files. Call before loading: every load
// changes the working folder, and relative names would then point elsewhere.
std::vector<InputFile> describe_inputs(const Inputs& inputs);

// {"program", "version", "inputs": [{"role", "path", "absolute_path",
// "sha256"}...]}, plus "seed", "permutations", "engine" and "threads" when a
// permutation run is given.
nlohmann::json provenance_json(const std::vector<InputFile>& inputs,
                               const permutation::PermuteOutcome* run = nullptr);

}  // namespace lumivar::batch
