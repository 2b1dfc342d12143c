#include "shell/lumivarsw.h"

#include <functional>

#include "input/load_actions.h"
#include "partition/varexp.h"
#include "permutation/permute.h"
#include "runtime/progress_on_demand.h"
#include "runtime/progress_relay.h"
#include "shell/superimposition_monitor.h"

namespace lumivar::shell {

namespace {

// The distance matrix of a large study shows its progress, with Cancel, in
// a monitor that closes as soon as the matrix is done.
std::function<bool(std::size_t, std::size_t)> matrix_progress(const runtime::ProgressOpener& open,
                                                               std::size_t rows,
                                                               std::size_t min_rows) {
  if (rows < min_rows) return {};
  return runtime::progress_on_demand(open, "Distance matrix");
}

}  // namespace

void lumivarsw(Application& app, const runtime::Args& args) {
  const runtime::Value& action = runtime::input(args, 0);
  const std::string word = action.is_text() ? action.text() : std::string();
  const bool is_text = action.is_text();
  if (is_text && word == "Load") {
    input::load(app.ui, app.session, app.load_progress_bytes, app.landmark_dimensions);
  } else if (is_text && word == "LoadRepGroup") {
    input::loadrepgroup(app.ui, app.session, app.load_progress_bytes);
  } else if (is_text && word == "LoadGroup") {
    input::loadgroup(app.ui, app.session, app.load_progress_bytes);
  } else if (is_text && word == "VarExp") {
    // The superimposition and the sums run beside the window's thread,
    // which shows their progress.
    runtime::ProgressRelay relay(app.progress_opener());
    SuperimpositionMonitor watch(relay.opener(), app.session.data.rows(), app.superimposition_progress_rows);
    partition::SumsSettings sums;
    sums.superimposition_progress = watch.hook();
    sums.matrix_progress =
        matrix_progress(relay.opener(), app.session.data.rows(), app.superimposition_progress_rows);
    sums.beside = relay.runner();
    app.set_last_analysis(varexp_snapshot(app.session, partition::varexp(app.ui, app.session, sums)));
  } else if (is_text && word == "Permute") {
    runtime::ProgressRelay relay(app.progress_opener());
    SuperimpositionMonitor watch(relay.opener(), app.session.data.rows(), app.superimposition_progress_rows);
    permutation::PermuteSettings settings = app.permute_settings;
    settings.superimposition_progress = watch.hook();
    settings.matrix_progress =
        matrix_progress(relay.opener(), app.session.data.rows(), app.superimposition_progress_rows);
    settings.beside = relay.runner();
    permutation::PermuteOutcome o = permutation::permute(app.ui, app.session, settings);
    if (o.done()) app.set_last_analysis(permute_snapshot(app.session, std::move(o)));
  } else {
    app.ui.message_box("Fell through case", "Alas, Woe!");
  }
}

}  // namespace lumivar::shell
