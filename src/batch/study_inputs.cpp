#include "batch/study_inputs.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>

#include "batch/checked_output.h"
#include "batch/new_folder.h"
#include "batch/progress_line.h"
#include "input/load_progress.h"
#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "study/study_text.h"

namespace lumivar::batch {

namespace detail {

void add_source_options(CLI::App* sub, StudyOptions& study, CLI::Option*& landmarks, CLI::Option*& sheet) {
  landmarks = sub->add_option("--landmarks", study.sources.landmarks,
                              "landmark file: TPS, a table with a header (id, x1, y1, ...) or plain")
                  ->check(CLI::ExistingFile);
  sheet = sub->add_option("--sheet", study.sources.sheet,
                          "specimen sheet (CSV/TSV): id, specimen, measurement, G1, G2")
              ->check(CLI::ExistingFile);
  sub->add_option("--columns", study.sources.columns,
                  "sheet columns for other names, e.g. id=Image,specimen=Ind,measurement=Age")
      ->needs(landmarks);
  sub->add_flag("--semilandmarks", study.sources.semilandmarks_as_landmarks,
                "read a TPS file's semilandmarks (CURVES=) as landmarks")
      ->needs(landmarks);
  landmarks->needs(sheet);
  sheet->needs(landmarks);
}

std::string file_name(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// The import with the landmark file's parse shown as the plain loads show
// theirs, from `progress_bytes` on.
study::Study import_watched(runtime::WindowRuntime& ui, const StudyOptions& study, std::uint64_t progress_bytes) {
  input::LoadProgress watch(ui, file_name(study.sources.landmarks), progress_bytes);
  return study::import_study(study.sources, watch.hook());
}

}  // namespace detail

void add_study_options(CLI::App* sub, StudyOptions& study, PlainFileOptions plain, bool codes_required) {
  CLI::Option* landmarks = nullptr;
  CLI::Option* sheet = nullptr;
  detail::add_source_options(sub, study, landmarks, sheet);
  landmarks->excludes(plain.data)->excludes(plain.reps)->excludes(plain.groups);
  sub->parse_complete_callback([=] {
    if (plain.data->count() == 0 && landmarks->count() == 0)
      throw CLI::RequiredError("--data or --landmarks");
    if (codes_required && plain.data->count() > 0) {
      if (plain.reps->count() == 0) throw CLI::RequiredError("--reps");
      if (plain.groups->count() == 0) throw CLI::RequiredError("--groups");
    }
  });
}

void add_import_options(CLI::App* sub, StudyOptions& study) {
  CLI::Option* landmarks = nullptr;
  CLI::Option* sheet = nullptr;
  detail::add_source_options(sub, study, landmarks, sheet);
  landmarks->required();
  sheet->required();
  sub->add_option("--out", study.out_dir,
                  "new folder (it must not exist yet) for landmarks.txt, reps.txt, groups.txt and codes.txt")
      ->required();
}

std::vector<InputFile> describe_study_inputs(const StudyOptions& study) {
  return {describe_file("landmarks", study.sources.landmarks), describe_file("sheet", study.sources.sheet)};
}

void load_study_files(BatchSession& b, const StudyOptions& study) {
  const study::Study s = detail::import_watched(b.ui, study, b.app.load_progress_bytes);
  study::load_study(b.ui, b.app.session, s, detail::file_name(study.sources.landmarks),
                    detail::file_name(study.sources.sheet));
  b.sheet_labels = std::make_shared<const shape_space::StudyLabels>(shape_space::labels_of(s));
}

int run_import(const StudyOptions& study, std::ostream& out, std::ostream& err, const std::atomic<bool>* cancel) {
  // No session is needed, only somewhere for the progress line to come from.
  runtime::headless::HeadlessRuntime ui;
  ui.on_progress = progress_lines(err, is_terminal_stderr(err), cancel);
  const study::Study s = detail::import_watched(ui, study, input::kLoadProgressBytes);
  if (!s.measured_once.empty())
    runtime::raise("The study has " + std::to_string(s.measured_once.size()) +
                   " specimens measured once (the first: " + s.measured_once.front() +
                   "); the three plain files hold two measurements of every specimen, so nothing "
                   "was written. Give the landmark file and sheet to the strata command instead.");
  const FolderFiles files = {{"landmarks.txt", study::landmarks_text(s)},
                             {"reps.txt", study::plain_text(s.repgroup)},
                             {"groups.txt", study::plain_text(s.group)},
                             {"codes.txt", study::codes_text(s)}};
  // The summary is written before the folder is put in place, so that an
  // import that cannot say what it made makes nothing.
  make_new_folder(study.out_dir, files, cancel, [&] {
    out << study::summary_text(s);
    finish_output(out, "the summary of the import");
  });
  for (const auto& [name, text] : files)
    err << "Wrote " << (std::filesystem::path(study.out_dir) / name).string() << '\n';
  return 0;
}

}  // namespace lumivar::batch
