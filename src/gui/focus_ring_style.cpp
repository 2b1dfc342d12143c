#include "gui/focus_ring_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace lumivar::gui {

namespace {

constexpr qreal kRingPx = 2;

bool focused(const QStyleOption* option) {
  return option != nullptr && (option->state & QStyle::State_HasFocus) && (option->state & QStyle::State_Enabled);
}

// Inside the control's rectangle, so that no layout needs more room for it.
void ring(const QStyleOption* option, QPainter* painter) {
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(QPen(option->palette.color(QPalette::Active, QPalette::Highlight), kRingPx));
  painter->setBrush(Qt::NoBrush);
  const qreal inset = kRingPx / 2;
  painter->drawRoundedRect(QRectF(option->rect).adjusted(inset, inset, -inset, -inset), 3, 3);
  painter->restore();
}

}  // namespace

FocusRingStyle::FocusRingStyle(const QString& base) : QProxyStyle(base) {}

void FocusRingStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  // Buttons, and the frames of multi-line edits and lists.
  if ((element == CE_PushButton || element == CE_ShapedFrame) && focused(option)) ring(option, painter);
}

void FocusRingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
  QProxyStyle::drawPrimitive(element, option, painter, widget);
  // A one-line edit draws its panel (which some styles draw with its frame);
  // check boxes and radio buttons mark their text with the focus rectangle.
  // The frameless edit inside a spin box is left to the box's own ring.
  const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
  const bool framed_edit = element == PE_PanelLineEdit && frame != nullptr && frame->lineWidth > 0;
  if ((framed_edit || element == PE_FrameFocusRect) && focused(option)) ring(option, painter);
}

void FocusRingStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
  QProxyStyle::drawComplexControl(control, option, painter, widget);
  if ((control == CC_ComboBox || control == CC_SpinBox) && focused(option)) ring(option, painter);
}

void install_focus_ring() {
  QApplication::setStyle(new FocusRingStyle(QApplication::style()->name()));
}

}  // namespace lumivar::gui
