// Tables shown as text with tabs: every heading stands over its column's
// values on screen, whatever the width of the first cells (the tests by
// strata begin their headings with "Between specimens" and end each block
// with "Specimens within G1xG2", both wider than a number).
#include "gui/tab_columns.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <deque>
#include <string>

#include "gui/strata_view.h"
#include "support/desktop_window.h"
#include "support/example_study_files.h"
#include "support/temp_files.h"

namespace lumivar::gui {
namespace {

// The on-screen left edge of each tab-separated cell of `block`.
QList<int> cell_lefts(QPlainTextEdit* edit, const QTextBlock& block) {
  const QString text = block.text();
  QList<int> starts{0};
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i] == QLatin1Char('\t')) starts.append(static_cast<int>(i + 1));
  QList<int> lefts;
  for (int at : starts) {
    QTextCursor c(block);
    c.setPosition(block.position() + at);
    lefts.append(edit->cursorRect(c).left());
  }
  return lefts;
}

// For each block of the table (a heading line ending in a column name, its
// rows up to the blank line): each row's cells start where the heading's do.
// Returns the number of rows compared.
int expect_headings_over_values(QPlainTextEdit* edit) {
  edit->resize(1600, 2000);  // every line laid out
  edit->show();
  QCoreApplication::processEvents();
  int rows = 0;
  QList<int> heading;
  for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next()) {
    if (!b.text().contains(QLatin1Char('\t'))) {
      heading.clear();
      continue;
    }
    const QList<int> lefts = cell_lefts(edit, b);
    for (qsizetype c = 1; c < lefts.size(); ++c)
      EXPECT_GT(lefts[c], lefts[c - 1]) << b.text().toStdString();
    if (heading.isEmpty()) {
      heading = lefts;
      continue;
    }
    ++rows;
    EXPECT_LE(lefts.size(), heading.size()) << b.text().toStdString();
    for (qsizetype c = 0; c < lefts.size() && c < heading.size(); ++c)
      EXPECT_EQ(lefts[c], heading[c]) << "column " << c << " of " << b.text().toStdString();
  }
  return rows;
}

TEST(TabColumns, StopsFollowTheWidestCellOfEachColumn) {
  const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const QFontMetricsF m(font);
  const qreal ch = m.horizontalAdvance(QLatin1Char('x'));
  const QString text = QStringLiteral("Between specimens \tSS \tdf\nG1 \t0.0010 \t1\nA \t12345678901 \t3\nno tabs at all");
  const QList<qreal> stops = column_tab_stops(text, m, ch);
  ASSERT_EQ(stops.size(), 2);
  // A fixed-pitch font: the widest cells are 18 and 12 characters.
  EXPECT_NEAR(stops[0], 19 * ch, 0.01 * ch);
  EXPECT_NEAR(stops[1], (19 + 13) * ch, 0.01 * ch);
  EXPECT_TRUE(column_tab_stops(QStringLiteral("one\ntwo"), m, ch).isEmpty());
}

TEST(TabColumns, HeadingsSitOverTheirValuesWhenTheFirstCellIsWide) {
  QPlainTextEdit edit;
  edit.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  edit.setLineWrapMode(QPlainTextEdit::NoWrap);
  edit.setPlainText(QStringLiteral(
      "Between specimens \tSS \tdf \tF\nG1 \t0.0010 \t1 \t11.09\nSpecimens within G1xG2 \t2.5 \t36\n\n"
      "Within specimens \tSS \tdf\nT \t0.5 \t1"));
  align_tab_columns(&edit);
  EXPECT_EQ(expect_headings_over_values(&edit), 3);
}

class StrataViewColumns : public testing::DesktopTest {};

TEST_F(StrataViewColumns, EveryHeadingStandsOverItsValuesAfterPermute) {
  testing::DesktopWindow w(settings_file());
  std::deque<std::string> files = {testing::example("landmarks.txt"), testing::example("reps.txt"),
                                   testing::example("groups.txt")};
  w.shell->set_file_chooser(
      [&files](const std::string&, const std::string&) { return testing::next_file_choice(files); });
  w.trigger(DesktopShell::kLoadLandmarks);
  w.trigger(DesktopShell::kLoadCodes);
  w.trigger(DesktopShell::kLoadGroups);
  w.ui.set(w.ui.find_by_tag("PermBox").at(0), "String", runtime::Value("19"));
  w.trigger(DesktopShell::kPermute);
  w.trigger(DesktopShell::kStrata);
  ASSERT_NE(w.shell->strata_view(), nullptr);
  QPlainTextEdit* text = w.shell->strata_view()->text();
  ASSERT_TRUE(text->toPlainText().contains(QStringLiteral("\tP \tZ"))) << text->toPlainText().toStdString();
  // Three effects and the specimens between, four and the residual within.
  EXPECT_EQ(expect_headings_over_values(text), 9);
}

}  // namespace
}  // namespace lumivar::gui
