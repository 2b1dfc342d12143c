#include "gui/picture_export.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QMessageBox>
#include <QPainter>
#include <QSpinBox>
#include <QWidget>

#include "gui/results_file.h"
#include "gui/scene_painter.h"
#include "gui/scene_widget.h"
#include "plots/svg.h"

namespace lumivar::gui {

namespace {

const char* const kPngFilter = "PNG image (*.png)";
const char* const kSvgFilter = "SVG drawing (*.svg)";

// The size of a PNG, from `suggested`; none when cancelled.
std::optional<QSize> ask_size(QWidget* parent, const QSize& suggested) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Picture size"));
  auto* width = new QSpinBox(&dialog);
  auto* height = new QSpinBox(&dialog);
  for (QSpinBox* box : {width, height}) {
    box->setRange(16, 16384);
    box->setSuffix(QStringLiteral(" px"));
  }
  width->setValue(suggested.width());
  height->setValue(suggested.height());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("&Width:"), width);
  form->addRow(QStringLiteral("&Height:"), height);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return QSize(width->value(), height->value());
}

}  // namespace

QImage scene_image(const plots::Scene& scene, const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  paint_scene(painter, scene, plots::PlotFrame(scene, size.width(), size.height()));
  return image;
}

QString save_picture(const plots::Scene& scene, const QString& path, const QSize& size) {
  if (QFileInfo(path).suffix().toLower() == QLatin1String("svg"))
    return write_file(path, plots::to_svg(scene, size.width(), size.height()));
  const QImage image = scene_image(scene, size);
  if (!image.save(path, "PNG")) return QStringLiteral("the picture could not be written there");
  return {};
}

PictureActions::PictureActions(SceneWidget* canvas, QWidget* view)
    : QObject(view), canvas_(canvas), view_(view) {
  export_ = new QAction(QStringLiteral("&Export picture\u2026"), view);
  export_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  copy_ = new QAction(QStringLiteral("&Copy image"), view);
  copy_->setShortcut(QKeySequence::Copy);
  for (QAction* a : {export_, copy_}) {
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view->addAction(a);
  }
  view->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(export_, &QAction::triggered, this, [this] { export_picture(); });
  connect(copy_, &QAction::triggered, this, [this] { copy_image(); });
}

QSize PictureActions::screen_size() const {
  return canvas_->size() * canvas_->devicePixelRatio();
}

std::optional<PictureActions::Choice> PictureActions::ask(const QSize& suggested) const {
  if (dialog_) return dialog_(suggested);
  QString filter;
  const QString path = QFileDialog::getSaveFileName(
      view_, QStringLiteral("Export picture"), QString(),
      QStringLiteral("%1;;%2").arg(kPngFilter, kSvgFilter), &filter);
  if (path.isEmpty()) return std::nullopt;
  QString named = path;
  if (QFileInfo(path).suffix().isEmpty())
    named += filter == QLatin1String(kSvgFilter) ? QStringLiteral(".svg") : QStringLiteral(".png");
  const std::optional<QSize> size = ask_size(view_, suggested);
  if (!size) return std::nullopt;
  return Choice{named, *size};
}

void PictureActions::export_picture() {
  const plots::Scene* scene = canvas_->scene();
  if (scene == nullptr) return;  // a message, not a plot, is shown
  const plots::Scene kept = *scene;  // the view may change while the dialog is open
  const std::optional<Choice> choice = ask(screen_size());
  if (!choice) return;
  const QString error = save_picture(kept, choice->path, choice->size);
  if (!error.isEmpty())
    QMessageBox::warning(view_, QStringLiteral("Export picture"),
                         QStringLiteral("Could not save %1: %2").arg(choice->path, error));
}

void PictureActions::copy_image() {
  if (const plots::Scene* scene = canvas_->scene())
    QApplication::clipboard()->setImage(scene_image(*scene, screen_size()));
}

}  // namespace lumivar::gui
