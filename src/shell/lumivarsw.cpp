#include "shell/lumivarsw.h"

#include "input/load_actions.h"
#include "partition/varexp.h"
#include "permutation/permute.h"
#include "shell/superimposition_monitor.h"

namespace lumivar::shell {

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
    SuperimpositionMonitor watch(app.ui, app.session.data.rows(), app.superimposition_progress_rows);
    partition::SumsSettings sums;
    sums.superimposition_progress = watch.hook();
    app.set_last_analysis(varexp_snapshot(app.session, partition::varexp(app.ui, app.session, sums)));
  } else if (is_text && word == "Permute") {
    SuperimpositionMonitor watch(app.ui, app.session.data.rows(), app.superimposition_progress_rows);
    permutation::PermuteSettings settings = app.permute_settings;
    settings.superimposition_progress = watch.hook();
    permutation::PermuteOutcome o = permutation::permute(app.ui, app.session, settings);
    if (o.done()) app.set_last_analysis(permute_snapshot(app.session, std::move(o)));
  } else {
    app.ui.message_box("Fell through case", "Alas, Woe!");
  }
}

}  // namespace lumivar::shell
