#pragma once
// The Help menu's pages: what the columns of the two reports mean (the file
// columns.md, looked up beside the executable first so that an edited copy
// there wins, then in the copy compiled into the program when the build had
// one) and the About box's text.
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace lumivar::gui {

// Where columns.md is looked for, in order.
QStringList columns_page_candidates(const QString& program_folder);
// The text of the first readable candidate; empty when none is.
QString read_first(const QStringList& candidates);

// A non-modal dialog showing the page (Markdown), or saying where it was
// looked for when there is none. Deleted when closed.
QDialog* show_columns_page(const QString& program_folder, QWidget* parent);

// The About box's text: the version, the Qt it was built with and runs on.
QString about_text();

}  // namespace lumivar::gui
