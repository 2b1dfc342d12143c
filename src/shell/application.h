#pragma once
// Everything the program keeps while it runs: the window runtime it talks
// to, the one session of the dispatcher, how "Permute" runs, the table of
// functions callable by name (whose entries refer back to this object, so
// it is neither copied nor moved), and the data of the last analysis for the
// views that show it.
#include <functional>
#include <memory>

#include "input/load_progress.h"
#include "input/session.h"
#include "permutation/permute_settings.h"
#include "shell/superimposition_monitor.h"
#include "runtime/function_table.h"
#include "runtime/window_runtime.h"
#include "shape_space/study_labels.h"
#include "shell/analysis_snapshot.h"

namespace lumivar::shell {

struct Application {
  explicit Application(runtime::WindowRuntime& ui);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  runtime::WindowRuntime& ui;
  runtime::Session session;
  permutation::PermuteSettings permute_settings;
  // Studies from this many rows on show the progress of their superimposition.
  std::size_t superimposition_progress_rows = kSuperimpositionProgressRows;
  // Files from this size on (bytes) show the progress of their loading.
  std::uint64_t load_progress_bytes = input::kLoadProgressBytes;
  // Coordinates per landmark that "Load" reads (2 or 3); 0: as the file's
  // note says, else 2 (input::load).
  int landmark_dimensions = 0;
  runtime::FunctionTable table;

  // The last "VarExp" or "Permute" that completed; null before the first.
  // Views may keep a snapshot as long as they like.
  std::shared_ptr<const AnalysisSnapshot> last_analysis;
  // Called (on the main thread, inside the action) after last_analysis
  // changed; an error it raises ends the action as any other would.
  std::function<void()> on_analysis_changed;
  // Replaces last_analysis, giving it the imported names when it analysed
  // the imported inputs, and calls on_analysis_changed.
  void set_last_analysis(AnalysisSnapshot snapshot);
  // Opens the window runtime's progress monitors (on the main thread).
  runtime::ProgressOpener progress_opener();

  // The names of the specimens and levels of the last study imported from a
  // landmark file and a sheet, for the analyses of it (set by the import).
  shape_space::ImportedLabels imported_labels;
};

}  // namespace lumivar::shell
