// Not a test: draws the shape view of a study, as the window paints it, into
// a PNG file, for the pictures of the documentation (docs/shapes-3d.png):
//
//   QT_QPA_PLATFORM=offscreen lumivar_shapes_picture OUT.png LANDMARKS REPS GROUPS
//       [GROUPING [WIDTHxHEIGHT]]
//
// The landmark file is read as the window's "Load" reads it (a plain file
// with the note "dimensions: 3" is three-dimensional); then "VarExp" runs and
// the superimposed shapes are drawn coloured by GROUPING (G1, G2 or T; T by
// default), 1100 x 480 pixels by default.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <string>

#include "gui/scene_painter.h"
#include "input/load_actions.h"
#include "partition/varexp.h"
#include "plots/shape_scene.h"
#include "runtime/headless/headless_runtime.h"
#include "shell/analysis_snapshot.h"
#include "shell/application.h"

int main(int argc, char** argv) {
  using namespace lumivar;
  QGuiApplication qt(argc, argv);
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s OUT.png LANDMARKS REPS GROUPS [G1|G2|T [WIDTHxHEIGHT]]\n", argv[0]);
    return 2;
  }
  const std::string grouping = argc > 5 ? argv[5] : "T";
  int width = 1100, height = 480;
  if (argc > 6 && std::sscanf(argv[6], "%dx%d", &width, &height) != 2) return 2;
  // Every load changes the working folder: names are made absolute first.
  const auto absolute = [](const char* p) { return std::filesystem::absolute(p).string(); };
  const std::string out = absolute(argv[1]);
  try {
    runtime::headless::HeadlessRuntime ui;
    shell::Application app(ui);
    app.table.call("Lumivar", {}, 0);
    for (int i = 2; i <= 4; ++i) ui.queue_file(absolute(argv[i]));
    input::load(ui, app.session);
    input::loadrepgroup(ui, app.session);
    input::loadgroup(ui, app.session);
    const shell::AnalysisSnapshot a =
        shell::varexp_snapshot(app.session, partition::varexp(ui, app.session));
    const runtime::Matrix& codes = grouping == "G1" ? a.g1 : grouping == "G2" ? a.g2 : a.t;
    const plots::Scene scene = plots::shape_scene(a.xpt, a.consensus, codes, {grouping, 3, a.dimensions});
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    gui::paint_scene(painter, scene, plots::PlotFrame(scene, width, height));
    painter.end();
    if (!image.save(QString::fromStdString(out))) {
      std::fprintf(stderr, "cannot write %s\n", out.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
