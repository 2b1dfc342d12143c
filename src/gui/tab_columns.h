#pragma once
// Tab stops for a text laid out as a table: lines of cells separated by tabs.
// One fixed stop distance misplaces a column as soon as one cell (a heading
// such as "Between specimens", a label such as "Specimens within G1xG2") is
// wider than it: that line's next cell jumps to the following stop, one
// column to the right of the numbers below it. Stops made from the widest
// cell of each column keep every heading over its values.
#include <QList>

class QFontMetricsF;
class QPlainTextEdit;
class QString;

namespace lumivar::gui {

// The stop of each column after the first, in pixels from the left edge:
// column c starts `gap` pixels after the widest cell of column c - 1 ends
// (cells measured with `metrics`, trailing blanks included). O(length of text).
QList<qreal> column_tab_stops(const QString& text, const QFontMetricsF& metrics, qreal gap);

// Sets the stops of `edit` for the text it shows now, a gap of two spaces
// between columns; call again after the text changes.
void align_tab_columns(QPlainTextEdit* edit);

}  // namespace lumivar::gui
