// The focus ring: a button, an edit and a spin box with the keyboard focus
// are drawn with a clear ring in the highlight colour, also when the
// layout has given them colours of their own; without the focus they are
// drawn as the base style draws them.
#include "gui/focus_ring_style.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleFactory>
#include <QStyleOption>
#include <functional>
#include <memory>

namespace lumivar::gui {
namespace {

const QRect kRect(0, 0, 120, 32);

// A control drawn by `draw` on white, with or without the focus.
using Draw = std::function<void(const QStyle&, QStyle::State, QPainter&)>;
QImage drawn(const QStyle& style, const Draw& draw, bool focus) {
  QImage image(kRect.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  draw(style, focus ? QStyle::State_HasFocus : QStyle::State_None, painter);
  return image;
}

// The style option of `widget`, enabled, over kRect, with the focus or without.
template <typename Option>
Option option_of(const QWidget& widget, QStyle::State focus) {
  Option o;
  o.initFrom(&widget);
  o.rect = kRect;
  o.state = (o.state & ~QStyle::State_HasFocus) | focus | QStyle::State_Enabled;
  return o;
}

// Pixels within a small distance of `colour` in every channel.
int pixels_of(const QImage& image, const QColor& colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      n += std::abs(c.red() - colour.red()) < 24 && std::abs(c.green() - colour.green()) < 24 &&
           std::abs(c.blue() - colour.blue()) < 24;
    }
  return n;
}

TEST(FocusRing, TheFocusedButtonEditAndSpinBoxAreRingedInTheHighlightColour) {
  const FocusRingStyle style(QStringLiteral("Fusion"));
  const std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
  QPushButton button(QStringLiteral("Load landmarks"));
  QPalette coloured = button.palette();  // as a layout colours its controls
  coloured.setColor(QPalette::Button, QColor(204, 230, 255));
  button.setPalette(coloured);
  QLineEdit edit;
  QSpinBox spin;
  const std::vector<std::pair<const char*, Draw>> controls{
      {"button",
       [&](const QStyle& s, QStyle::State focus, QPainter& p) {
         auto o = option_of<QStyleOptionButton>(button, focus);
         o.text = button.text();
         s.drawControl(QStyle::CE_PushButton, &o, &p, &button);
       }},
      {"edit",
       [&](const QStyle& s, QStyle::State focus, QPainter& p) {
         auto o = option_of<QStyleOptionFrame>(edit, focus);
         o.lineWidth = s.pixelMetric(QStyle::PM_DefaultFrameWidth, &o, &edit);
         s.drawPrimitive(QStyle::PE_PanelLineEdit, &o, &p, &edit);
       }},
      {"spin box",
       [&](const QStyle& s, QStyle::State focus, QPainter& p) {
         auto o = option_of<QStyleOptionSpinBox>(spin, focus);
         o.subControls = QStyle::SC_All;
         o.frame = true;
         s.drawComplexControl(QStyle::CC_SpinBox, &o, &p, &spin);
       }}};
  const QColor highlight = button.palette().color(QPalette::Active, QPalette::Highlight);
  // A ring 2 pixels wide around 120 x 32 pixels covers about 2 x 2 x (120 + 32)
  // pixels; at least half of them must be in the highlight colour.
  const int ring = 2 * (kRect.width() + kRect.height());
  for (const auto& [name, draw] : controls) {
    const QImage with = drawn(style, draw, true), without = drawn(style, draw, false);
    EXPECT_GE(pixels_of(with, highlight) - pixels_of(without, highlight), ring) << name;
    // The base style's own focus mark is fainter than the ring.
    EXPECT_GE(pixels_of(with, highlight) - pixels_of(drawn(*base, draw, true), highlight), ring / 2) << name;
    // Without the focus, nothing is added to the base style's picture.
    EXPECT_EQ(without, drawn(*base, draw, false)) << name;
  }
}

TEST(FocusRing, TheApplicationTakesTheRingOverItsOwnStyle) {
  const QString before = QApplication::style()->name();
  install_focus_ring();
  const auto* installed = dynamic_cast<const FocusRingStyle*>(QApplication::style());
  ASSERT_NE(installed, nullptr);
  EXPECT_EQ(installed->baseStyle()->name(), before);
  QApplication::setStyle(before);  // the other tests keep the style they had
}

}  // namespace
}  // namespace lumivar::gui
