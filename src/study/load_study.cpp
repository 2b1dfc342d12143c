#include "study/load_study.h"

#include "input/load_actions.h"

namespace lumivar::study {

Study import_study(const StudySources& sources, const runtime::ReadProgress& progress) {
  const SheetColumns columns = sheet_columns(sources.columns);
  LandmarkReadOptions options;
  options.semilandmarks_as_landmarks = sources.semilandmarks_as_landmarks;
  options.dimensions = sources.dimensions;
  const LandmarkFile landmarks = read_landmark_file(sources.landmarks, options, progress);
  const SpecimenSheet sheet = read_specimen_sheet(sources.sheet, columns);
  return build_study(landmarks, sheet);
}

void load_study(runtime::WindowRuntime& ui, runtime::Session& s, const Study& study,
                const std::string& landmarks_name, const std::string& sheet_name) {
  input::store_landmarks(ui, s, study.data, landmarks_name, {}, study.dimensions);
  input::store_repgroup(ui, s, study.repgroup, sheet_name);
  input::store_group(ui, s, study.group, sheet_name);
}

}  // namespace lumivar::study
