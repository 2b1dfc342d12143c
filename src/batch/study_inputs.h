#pragma once
// The batch tool's way in for a study kept as researchers keep it: a
// landmark file (TPS, a table with a header, or the plain format) and a
// specimen sheet, instead of the three plain files.
//
//   load|varexp|permute|shapes --landmarks FILE --sheet FILE [--columns MAP] [--semilandmarks]
//   import --landmarks FILE --sheet FILE [--columns MAP] [--semilandmarks] --out DIR
//
// The study is built in the core (study/) and handed to the session through
// the load actions' own steps, so reports are those of its three plain
// files. The landmark status names the landmark file; the measurement and
// group statuses name the sheet, where their codes came from.
#include <atomic>
#include <iosfwd>
#include <string>
#include <vector>

#include "batch/batch_session.h"
#include "batch/provenance.h"
#include "study/load_study.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace lumivar::batch {

struct StudyOptions {
  study::StudySources sources;
  std::string out_dir;  // "import" only
  bool given() const { return !sources.landmarks.empty(); }
};

// The plain-file options of a command, to be made the alternative to a study.
struct PlainFileOptions {
  CLI::Option* data;
  CLI::Option* reps;
  CLI::Option* groups;
};

// Adds --landmarks, --sheet, --columns and --semilandmarks to `sub`: one of
// --data and --landmarks must be given; --reps and --groups go only with
// --data and are required with it when `codes_required`.
void add_study_options(CLI::App* sub, StudyOptions& study, PlainFileOptions plain, bool codes_required);

// The options of "import": the study's files and --out.
void add_import_options(CLI::App* sub, StudyOptions& study);

// Both files with their SHA-256, for the JSON provenance ("landmarks",
// "sheet"). Call before loading, as describe_inputs.
std::vector<InputFile> describe_study_inputs(const StudyOptions& study);

// Builds the study and stores it in the session, with its sheet's names of
// rows and levels in b.sheet_labels; raises, storing nothing, when it is
// refused.
void load_study_files(BatchSession& b, const StudyOptions& study);

// "import": makes the folder, which must not exist yet, holding
// landmarks.txt, reps.txt, groups.txt and codes.txt, all at once (see
// new_folder.h), and prints the study's summary on `out`, the files written
// on `err`. Refuses, writing nothing, when anything is at that name. A large
// landmark file shows its reading on `err` as the loads do; a raised
// `cancel` (Ctrl-C) stops the reading or the writes, leaving nothing.
int run_import(const StudyOptions& study, std::ostream& out, std::ostream& err,
               const std::atomic<bool>* cancel = nullptr);

}  // namespace lumivar::batch
