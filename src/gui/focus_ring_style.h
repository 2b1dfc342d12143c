#pragma once
// The application's style with a focus ring that can be seen: a ring two
// pixels wide in the highlight colour around the button, edit, list or box
// that has the keyboard focus. The window's controls take the colours of
// their layout, on which the usual thin focus marks are easily missed, and
// a keyboard user must see where Tab has gone.
#include <QProxyStyle>
#include <QString>

namespace lumivar::gui {

class FocusRingStyle : public QProxyStyle {
 public:
  // Draws as the style named `base` does (QStyleFactory's names, "Fusion"),
  // and rings what has the focus.
  explicit FocusRingStyle(const QString& base);

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget = nullptr) const override;
};

// Gives the application the focus ring over the style it has now (the
// platform's, or the one -style asked for). The application owns the style.
void install_focus_ring();

}  // namespace lumivar::gui
