#pragma once
// The Help menu's pages: the user manual (manual.md, with its pictures) and what the columns of the
// two reports mean (columns.md), each looked up beside the executable first
// so that an edited copy there wins, then in the copy compiled into the
// program when the build had one; and the About box's text.
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace lumivar::gui {

// Where the page `name` ("columns.md") is looked for, in order.
QStringList page_candidates(const QString& program_folder, const QString& name);
// The text of the first readable candidate (its path in `*found` when
// given); empty when none is.
QString read_first(const QStringList& candidates, QString* found = nullptr);

// A non-modal dialog titled `title` showing the page `name` (Markdown), or
// saying where it was looked for when there is none. Deleted when closed.
QDialog* show_page(const QString& program_folder, const QString& name, const QString& title,
                   QWidget* parent);

// The About box's text: the version, the licence, how to cite it, where the
// manual is, the Qt it was built with and runs on.
QString about_text();

}  // namespace lumivar::gui
