#include "batch/plot_files.h"

#include <array>
#include <filesystem>

#include "batch/checked_output.h"
#include "plots/histogram_scene.h"
#include "plots/shape_scene.h"
#include "plots/shape_space_choices.h"
#include "plots/svg.h"
#include "runtime/error.h"

namespace lumivar::batch {

namespace {

// File names of the effects: the report's labels without "(rep)" and with
// the measurement factor's letter in capitals throughout.
constexpr partition::PerEffect<const char*> kEffectFileNames{
    "G1", "G2", "T", "G1xG2", "G1xT", "G2xT", "G1xG2xT"};

}  // namespace

std::string write_svg(const std::filesystem::path& folder, const std::string& name,
                      const plots::Scene& scene) {
  const std::string path = (folder / name).string();
  // Whole or not at all: a picture cut short by a full disk is never left.
  write_file_whole(path, plots::to_svg(scene, kPlotWidth, kPlotHeight));
  return path;
}

void make_picture_folder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) runtime::raise("Cannot make the folder " + folder + " for the pictures: " + ec.message() + ".");
}

std::vector<std::string> write_plots(const shell::AnalysisSnapshot& a, const std::string& folder) {
  make_picture_folder(folder);
  std::vector<std::string> written;
  using plots::Grouping;
  const std::array<std::pair<Grouping, const runtime::Matrix*>, 3> groupings{
      {{Grouping::kG1, &a.g1}, {Grouping::kG2, &a.g2}, {Grouping::kT, &a.t}}};
  for (const auto& [g, codes] : groupings) {
    const std::string name = plots::grouping_name(g);
    plots::ShapeSceneOptions options{name, 3, a.dimensions};
    if (a.sheet_labels) options.code_names = plots::names_of(*a.sheet_labels, g);
    const plots::Scene s = plots::shape_scene(a.xpt, a.consensus, *codes, options);
    written.push_back(write_svg(folder, "shapes_" + name + ".svg", s));
  }
  if (a.permutation.counts.f_values.empty()) return written;
  for (int k = 0; k < partition::kEffectCount; ++k) {
    const plots::Scene s = plots::histogram_scene(a.f_values_of(k), a.observed_f(k),
                                                  partition::kEffectLabels[k], a.permutation.p_perm_f[k]);
    written.push_back(
        write_svg(folder, std::string("f_") + kEffectFileNames[k] + ".svg", s));
  }
  return written;
}

}  // namespace lumivar::batch
