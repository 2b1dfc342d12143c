#include "gui/picture_view_layout.h"

#include <QVBoxLayout>

#include "gui/picture_export.h"
#include "gui/scene_widget.h"

namespace lumivar::gui {

PictureArea lay_out_picture_view(QWidget* view, QLayout* choices) {
  PictureArea a{};
  a.canvas = new SceneWidget;
  a.pictures = new PictureActions(a.canvas, view);
  a.status = new QLabel;
  a.status->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(view);
  layout->addLayout(choices);
  layout->addWidget(a.canvas, 1);
  layout->addWidget(a.status);
  view->resize(900, 720);
  return a;
}

}  // namespace lumivar::gui
