#include "shell/application.h"

#include "geometry/by_name.h"
#include "distributions/by_name.h"
#include "input/by_name.h"
#include "partition/by_name.h"
#include "shell/Lumivar.h"
#include "shell/builtin_layout.h"
#include "shell/lumivarsw.h"
#include "window/by_name.h"

namespace lumivar::shell {

Application::Application(runtime::WindowRuntime& ui_in) : ui(ui_in) {
  register_builtin_layout();
  // The table of functions callable by name, in its fixed order.
  table.add({"Lumivar", runtime::kAnyNumber, runtime::kAnyNumber,
             [this](const runtime::Args& a, int nargout) { return Lumivar(*this, a, nargout); }});
  table.add({"lumivarsw", 1, 0, [this](const runtime::Args& a, int) {
               lumivarsw(*this, a);
               return runtime::Results{};
             }});
  table.add(window::guidata_entry(ui));
  table.add(window::guihandles_entry(ui));
  table.add(window::openfig_entry(ui));
  table.add(geometry::allpairwiseprocrustes_entry());
  table.add(distributions::fcdf_entry());
  table.add(input::getcodecount_entry(ui));
  table.add(partition::getssgroup_entry());
  table.add(partition::getsstotal_entry());
  table.add(input::mergegroups_entry());
  table.add(input::mfload_entry(ui));
  table.add(window::isvarname_entry(ui));
  table.add(window::movegui_entry(ui));
  table.add(geometry::getconsensus_entry());
  table.add(distributions::chi2cdf_entry());
  table.add(distributions::distchck_entry());
  table.add(input::dload_entry());
  table.add(window::iskeyword_entry(ui));
  table.add(geometry::centpos_entry());
  table.add(geometry::centsize_entry());
  table.add(distributions::gamcdf_entry());
  ui.set_function_table(&table);
  // The window's histograms need every relabelling's F ratios.
  permute_settings.keep_f_values = true;
}

runtime::ProgressOpener Application::progress_opener() {
  return [this](const std::string& title) { return ui.begin_progress(title); };
}

void Application::set_last_analysis(AnalysisSnapshot snapshot) {
  // Taken now: a later import of the same files with another mapping of the
  // sheet's columns must not rename the rows of this analysis.
  snapshot.sheet_labels = shape_space::labels_for(imported_labels, snapshot.sources, snapshot.data.rows());
  last_analysis = std::make_shared<const AnalysisSnapshot>(std::move(snapshot));
  if (on_analysis_changed) on_analysis_changed();
}

}  // namespace lumivar::shell
