#include "gui/picture_export.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QSettings>
#include <QMessageBox>
#include <QPainter>
#include <QSpinBox>
#include <QWidget>
#include <cmath>

#include "gui/print_size.h"
#include "gui/results_file.h"
#include "gui/scene_painter.h"
#include "gui/scene_widget.h"
#include "plots/svg.h"

namespace lumivar::gui {

namespace {

const char* const kPngFilter = "PNG image (*.png)";
const char* const kSvgFilter = "SVG drawing (*.svg)";

// The print size of a picture shown at `suggested` pixels; none when cancelled.
std::optional<PrintSize> ask_print_size(QWidget* parent, const QSize& suggested) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Picture size"));
  auto* width = new QDoubleSpinBox(&dialog);
  auto* height = new QDoubleSpinBox(&dialog);
  auto* unit = new QComboBox(&dialog);
  unit->addItems({QStringLiteral("mm"), QStringLiteral("in")});
  auto* dpi = new QSpinBox(&dialog);
  dpi->setRange(36, 2400);
  dpi->setSuffix(QStringLiteral(" dpi"));
  dpi->setValue(300);
  auto* pixels = new QLabel(&dialog);
  const auto current = [=] {
    return PrintSize{width->value(), height->value(),
                     unit->currentIndex() == 1 ? LengthUnit::kInches : LengthUnit::kMillimetres,
                     static_cast<double>(dpi->value())};
  };
  const auto show_pixels = [=] {
    const QSize px = print_pixels(current());
    pixels->setText(QStringLiteral("%1 x %2 pixels").arg(px.width()).arg(px.height()));
  };
  const auto set_unit = [=](LengthUnit u) {
    for (QDoubleSpinBox* box : {width, height}) {
      box->setDecimals(u == LengthUnit::kInches ? 2 : 1);
      box->setRange(1, u == LengthUnit::kInches ? 40 : 1000);
    }
  };
  set_unit(LengthUnit::kMillimetres);
  const PrintSize start = print_size_of(suggested, LengthUnit::kMillimetres, dpi->value());
  width->setValue(start.width);
  height->setValue(start.height);
  QObject::connect(unit, &QComboBox::currentIndexChanged, &dialog, [=](int index) {
    // The same size in the other unit.
    const double factor = index == 1 ? 1 / 25.4 : 25.4;
    const double w = width->value() * factor, h = height->value() * factor;
    set_unit(index == 1 ? LengthUnit::kInches : LengthUnit::kMillimetres);
    width->setValue(w);
    height->setValue(h);
    show_pixels();
  });
  for (QDoubleSpinBox* box : {width, height})
    QObject::connect(box, &QDoubleSpinBox::valueChanged, &dialog, show_pixels);
  QObject::connect(dpi, &QSpinBox::valueChanged, &dialog, show_pixels);
  show_pixels();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("&Width:"), width);
  form->addRow(QStringLiteral("&Height:"), height);
  form->addRow(QStringLiteral("&Unit:"), unit);
  form->addRow(QStringLiteral("&Resolution:"), dpi);
  form->addRow(QString(), pixels);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return current();
}

}  // namespace

QImage scene_image(const plots::Scene& scene, const QSize& size, double scale) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale, scale);
  paint_scene(painter, scene, plots::PlotFrame(scene, size.width() / scale, size.height() / scale));
  return image;
}

QString save_picture(const plots::Scene& scene, const QString& path, const QSize& size,
                     double scale, double dpi) {
  if (QFileInfo(path).suffix().toLower() == QLatin1String("svg"))
    return write_file(path, plots::to_svg(scene, size.width() / scale, size.height() / scale));
  QImage image = scene_image(scene, size, scale);
  if (dpi > 0) {
    const int per_metre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(per_metre);
    image.setDotsPerMeterY(per_metre);
  }
  if (!image.save(path, "PNG")) return QStringLiteral("the picture could not be written there");
  return {};
}

QString save_picture(const plots::Scene& scene, const QString& path, const PrintSize& paper) {
  if (QFileInfo(path).suffix().toLower() != QLatin1String("svg"))
    return save_picture(scene, path, print_pixels(paper), print_scale(paper), paper.dpi);
  const QSizeF layout = print_layout(paper);
  const plots::PaperSize shown{paper.width, paper.height, paper.unit == LengthUnit::kInches ? "in" : "mm"};
  return write_file(path, plots::to_svg(scene, layout.width(), layout.height(), shown));
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
  // The format and folder chosen last are offered again.
  QSettings remembered(QStringLiteral("Lumivar"), QStringLiteral("Lumivar"));
  QString filter = remembered.value(QStringLiteral("pictures/format"), QLatin1String(kPngFilter)).toString();
  const bool svg = filter == QLatin1String(kSvgFilter);
  const plots::Scene* scene = canvas_->scene();
  const QString name = suggested_file_name(
      scene ? QString::fromStdString(scene->title) : QString(),
      svg ? QStringLiteral(".svg") : QStringLiteral(".png"));
  const QString path = QFileDialog::getSaveFileName(
      view_, QStringLiteral("Export picture"),
      QDir(remembered.value(QStringLiteral("pictures/folder"), QDir::currentPath()).toString()).filePath(name),
      QStringLiteral("%1;;%2").arg(kPngFilter, kSvgFilter), &filter);
  if (path.isEmpty()) return std::nullopt;
  remembered.setValue(QStringLiteral("pictures/format"), filter);
  remembered.setValue(QStringLiteral("pictures/folder"), QFileInfo(path).absolutePath());
  QString named = path;
  if (QFileInfo(path).suffix().isEmpty())
    named += filter == QLatin1String(kSvgFilter) ? QStringLiteral(".svg") : QStringLiteral(".png");
  const std::optional<PrintSize> size = ask_print_size(view_, suggested / canvas_->devicePixelRatio());
  if (!size) return std::nullopt;
  return Choice{named, print_pixels(*size), print_scale(*size), size->dpi, *size};
}

void PictureActions::export_picture() {
  const plots::Scene* scene = canvas_->scene();
  if (scene == nullptr) return;  // a message, not a plot, is shown
  const plots::Scene kept = *scene;  // the view may change while the dialog is open
  const std::optional<Choice> choice = ask(screen_size());
  if (!choice) return;
  const QString error = choice->paper
                            ? save_picture(kept, choice->path, *choice->paper)
                            : save_picture(kept, choice->path, choice->size, choice->scale, choice->dpi);
  if (!error.isEmpty())
    QMessageBox::warning(view_, QStringLiteral("Export picture"),
                         QStringLiteral("Could not save %1: %2").arg(choice->path, error));
}

void PictureActions::copy_image() {
  if (const plots::Scene* scene = canvas_->scene())
    QApplication::clipboard()->setImage(scene_image(*scene, screen_size()));
}

}  // namespace lumivar::gui
