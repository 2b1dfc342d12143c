#include "batch/provenance.h"

namespace lumivar::batch {

std::vector<InputFile> describe_inputs(const Inputs& inputs, const runtime::InputSources& sources) {
  std::vector<InputFile> out;
  out.push_back(results::loaded_input("data", inputs.data, sources.data));
  if (inputs.reps) out.push_back(results::loaded_input("reps", *inputs.reps, sources.reps));
  if (inputs.groups) out.push_back(results::loaded_input("groups", *inputs.groups, sources.groups));
  return out;
}

}  // namespace lumivar::batch
