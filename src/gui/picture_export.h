#pragma once
// Export picture… and Copy image for a view's plot: PNG at a chosen size
// (the view's size in device pixels by default) drawn by the same painter as
// the screen, or SVG through the plots module's writer, the same file the
// batch tool writes. The actions sit in the view's context menu and answer
// Ctrl+E and Ctrl+C while the view has the focus.
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "gui/print_size.h"
#include "plots/scene.h"

class QAction;
class QWidget;

namespace lumivar::gui {

class SceneWidget;

// `scene` drawn on an opaque image of `size` pixels, laid out on size /
// `scale` and drawn `scale` times larger (text and lines included).
QImage scene_image(const plots::Scene& scene, const QSize& size, double scale = 1.0);

// Writes `scene` to `path`: SVG when the name ends in ".svg" (any case),
// otherwise PNG, drawn `scale` times larger than its layout and, when `dpi`
// is positive, with that resolution recorded in the file. The error text,
// or "" on success.
QString save_picture(const plots::Scene& scene, const QString& path, const QSize& size,
                     double scale = 1.0, double dpi = 0);
// Writes `scene` to `path` for print at `paper`'s size: a PNG of
// print_pixels(paper) with its dpi recorded, or an SVG whose width and
// height are the size on paper (mm or in) over a viewBox of the picture's
// layout, so that text and lines keep the same size on paper as in the PNG.
QString save_picture(const plots::Scene& scene, const QString& path, const PrintSize& paper);

class PictureActions : public QObject {
 public:
  // Adds the actions to `view` (which owns this object) for `canvas`'s scene.
  PictureActions(SceneWidget* canvas, QWidget* view);

  QAction* export_action() const { return export_; }
  QAction* copy_action() const { return copy_; }

  struct Choice {
    QString path;
    QSize size;          // in pixels
    double scale = 1.0;  // of text and lines (print_size.h)
    double dpi = 0;      // written into a PNG; 0: none
    // The size on paper the fields above come from; none: a picture in pixels.
    std::optional<PrintSize> paper = {};
  };
  // Asks for the file and the size (given the view's size in pixels): the
  // file dialog suggests a name from the picture's title and the format
  // chosen last, then the size is asked in millimetres or inches and dpi.
  // None: cancelled.
  using ExportDialog = std::function<std::optional<Choice>(const QSize& suggested)>;
  // Tests answer in place of the user; an empty function brings the dialogs back.
  void set_export_dialog(ExportDialog dialog) { dialog_ = std::move(dialog); }

 private:
  QSize screen_size() const;
  std::optional<Choice> ask(const QSize& suggested) const;
  void export_picture();
  void copy_image();

  SceneWidget* canvas_;
  QWidget* view_;
  QAction* export_;
  QAction* copy_;
  ExportDialog dialog_;
};

}  // namespace lumivar::gui
