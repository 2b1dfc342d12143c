#include "gui/tab_columns.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

namespace lumivar::gui {

QList<qreal> column_tab_stops(const QString& text, const QFontMetricsF& metrics, qreal gap) {
  QList<qreal> widest;  // of each column but the last of its line
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    const QStringList cells = line.split(QLatin1Char('\t'));
    for (qsizetype c = 0; c + 1 < cells.size(); ++c) {
      if (widest.size() <= c) widest.append(0);
      widest[c] = std::max(widest[c], metrics.horizontalAdvance(cells[c]));
    }
  }
  QList<qreal> stops;
  qreal at = 0;
  for (qreal w : widest) {
    at += w + gap;
    stops.append(at);
  }
  return stops;
}

void align_tab_columns(QPlainTextEdit* edit) {
  const QFontMetricsF metrics(edit->font());
  QTextOption option = edit->document()->defaultTextOption();
  option.setTabArray(column_tab_stops(edit->toPlainText(), metrics,
                                      2 * metrics.horizontalAdvance(QLatin1Char(' '))));
  edit->document()->setDefaultTextOption(option);
}

}  // namespace lumivar::gui
