#include <ostream>

#include "batch/commands.h"
#include "batch/shape_plot_files.h"
#include "batch/superimposition_progress.h"
#include "geometry/getconsensus.h"
#include "partition/analysis_inputs.h"
#include "partition/partition.h"
#include "results/shape_space_forms.h"

namespace lumivar::batch {

int run_shapes(BatchSession& b, const CommandLine& o, const std::vector<InputFile>& inputs,
               std::ostream& out, std::ostream& err) {
  const runtime::Session& session = b.app.session;
  partition::check_inputs_of_any_design(session);
  geometry::SuperimpositionSettings settings;
  settings.threads = o.threads;
  settings.dimensions = session.dimensions;
  if (!o.quiet) settings.progress = terminal_superimposition_progress();
  const geometry::Consensus fit = geometry::getconsensus(session.data, settings);
  const partition::Codings codes = partition::make_codings(session.group, session.repgroup, session.data.rows());
  const runtime::Matrix &g1 = codes[partition::kG1], &g2 = codes[partition::kG2], &t = codes[partition::kT];

  shape_space::ShapeSpaceInputs in{&session.data, &fit.xpt, &fit.y, &g1, &g2, &t};
  in.dimension = static_cast<std::size_t>(session.dimensions);
  if (o.components > 0) in.components = o.components;
  const shape_space::ShapeSpace space = shape_space::shape_space(in);
  const shape_space::StudyLabels labels =
      b.sheet_labels ? *b.sheet_labels : shape_space::labels_from_rows(session.data);

  // Pictures before the table: a failure to write them prints no table.
  if (!o.plot_dir.empty())
    for (const std::string& path :
         write_shape_plots({&space, &labels, &g1, &g2, &t, session.group.rows(), o.magnification}, o.plot_dir))
      err << "Wrote " << path << '\n';
  const results::ShapeRows rows{&g1, &g2, &t, &labels};
  if (o.format == "csv")
    results::write_shapes_csv(out, space, rows);
  else
    results::write_shapes_json(out, space, rows, provenance_json(inputs));
  out << (o.format == "csv" ? "" : "\n");
  return 0;
}

}  // namespace lumivar::batch
