#pragma once
// The provenance of the batch tool's JSON reports: the shared forms
// (results/provenance.h, results/json_output.h) and the input files as the
// command line named them.
#include <string>
#include <vector>

#include "batch/batch_session.h"
#include "input/session.h"
#include "results/json_output.h"
#include "results/provenance.h"

namespace lumivar::batch {

using results::describe_file;
using results::engine_name;
using results::InputFile;
using results::permute_json;
using results::program_version;
using results::provenance_json;
using results::varexp_json;

// Describes the input files given, after they were loaded: the digests are
// those the loads took while reading (`sources`), so a file is never read a
// second time and cannot change between the two reads.
std::vector<InputFile> describe_inputs(const Inputs& inputs, const runtime::InputSources& sources);

}  // namespace lumivar::batch
