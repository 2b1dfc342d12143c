#pragma once
// What a saved report needs so that its numbers can be traced and repeated:
// the program and its version, how a permutation run was made, and exactly
// which input files were read (their names and SHA-256).
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "input/session.h"
#include "permutation/permute.h"

namespace lumivar::results {

// The version of this build (the project's version in CMake).
std::string program_version();

struct InputFile {
  std::string role;           // "data", "reps" or "groups" (or a study's "landmarks", "sheet")
  std::string path;           // as the user gave it
  std::string absolute_path;  // resolved, without "." and ".." steps
  std::string sha256;         // of the bytes the load read and analysed
};

// An input the load actions read, as `path`: the digest is the one the load
// took while reading (`read`), so the file is never read a second time and
// cannot change between the two reads.
InputFile loaded_input(const std::string& role, const std::string& path,
                       const runtime::InputSource& read);

// The three inputs of a session (those loaded), named by the paths they
// were read from.
std::vector<InputFile> loaded_inputs(const runtime::InputSources& sources);

// Describes and hashes one input file given as `path` (an imported study's
// landmark file and sheet, which the study reader reads itself).
InputFile describe_file(const std::string& role, const std::string& path);

// Who made a report, when and how: "program" and, when not empty, "date",
// "sums" and "command_line".
struct Maker {
  std::string program = "lumivar-batch";
  std::string date;  // ISO 8601, UTC; empty: not recorded
  // The way the sums were taken: "matrix" or "coordinates"; empty: not recorded.
  std::string sums{};
  // The words of the command line as given, the program's name first.
  std::vector<std::string> command_line{};
};

// {"program", "version", ["date"], ["sums"], ["command_line"], "inputs":
// [{"role", "path", "absolute_path", "sha256"}...]}, plus "seed",
// "seed_text" (the seed as a string, which no JSON reader rounds),
// "permutations", "engine" and "threads" when a permutation run is given.
nlohmann::json provenance_json(const std::vector<InputFile>& inputs,
                               const permutation::PermutationTest* run = nullptr,
                               const Maker& maker = {});

}  // namespace lumivar::results
