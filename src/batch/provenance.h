#pragma once
// What a JSON report needs so that its numbers can be traced and repeated:
// the program's version, how a permutation run was made, and exactly which
// input files were read (their names and SHA-256).
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "batch/batch_session.h"
#include "permutation/permute.h"
#include "runtime/session.h"

namespace lumivar::batch {

// The version of this build (the project's version in CMake).
std::string program_version();

struct InputFile {
  std::string role;           // "data", "reps" or "groups"
  std::string path;           // as given on the command line
  std::string absolute_path;  // resolved against the folder the tool started in
  std::string sha256;         // of the bytes the load read and analysed
};

// Describes the input files given, after they were loaded: the digests are
// those the loads took while reading (`sources`), so a file is never read a
// second time and cannot change between the two reads.
std::vector<InputFile> describe_inputs(const Inputs& inputs, const runtime::InputSources& sources);

// Describes and hashes one input file given as `path` (an imported study's
// landmark file and sheet, which the study reader reads itself).
InputFile describe_file(const std::string& role, const std::string& path);

// {"program", "version", "inputs": [{"role", "path", "absolute_path",
// "sha256"}...]}, plus "seed", "permutations", "engine" and "threads" when a
// permutation run is given.
nlohmann::json provenance_json(const std::vector<InputFile>& inputs,
                               const permutation::PermuteOutcome* run = nullptr);

}  // namespace lumivar::batch
