#include "partition/analysis_fit.h"

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/getconsensus.h"
#include "partition/sums_from_coordinates.h"
#include "runtime/error.h"
#include "runtime/memory_limit.h"

namespace lumivar::partition {

SumsMethod sums_method_for(const SumsSettings& settings, std::size_t rows, bool matrix_needed) {
  if (settings.sums != SumsMethod::kAuto) return settings.sums;
  return resolve_sums_method(settings.sums, rows, runtime::available_memory_bytes(), matrix_needed);
}

AnalysisFit fit_and_partition(const runtime::Matrix& data, const runtime::Matrix& group,
                              const runtime::Matrix& repgroup, const DesignSizes& sizes,
                              SumsMethod sums, const SumsSettings& settings, int dimensions) {
  if (settings.beside) {
    SumsSettings here = settings;
    here.beside = nullptr;
    AnalysisFit out;
    settings.beside([&] { out = fit_and_partition(data, group, repgroup, sizes, sums, here, dimensions); });
    return out;
  }
  geometry::SuperimpositionSettings superimposition;
  superimposition.dimensions = dimensions;
  superimposition.threads = settings.threads;
  superimposition.progress = settings.superimposition_progress;
  if (settings.cancel != nullptr) {
    superimposition.progress = [shown = settings.superimposition_progress, cancel = settings.cancel](
                                   int iteration, double change) {
      if (shown) shown(iteration, change);
      if (cancel->load())
        runtime::raise_cancelled("The analysis was cancelled during the superimposition, after " +
                                 std::to_string(iteration) + (iteration == 1 ? " pass" : " passes") +
                                 "; nothing was written.");
    };
  }
  geometry::Consensus fit = geometry::getconsensus(data, superimposition);
  AnalysisFit out;
  out.sums = sums == SumsMethod::kCoordinates ? SumsMethod::kCoordinates : SumsMethod::kMatrix;
  if (out.sums == SumsMethod::kMatrix) {
    out.dmatrix = geometry::squared_distances(fit.xpt, settings.threads, settings.cancel, settings.matrix_progress);
    out.partition = compute_partition(out.dmatrix, group, repgroup, sizes, settings.cancel);
  } else {
    out.partition = partition_from_coordinates(fit.xpt, group, repgroup, sizes);
  }
  out.xpt = std::move(fit.xpt);
  out.consensus = std::move(fit.y);
  return out;
}

}  // namespace lumivar::partition
