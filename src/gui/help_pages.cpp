#include "gui/help_pages.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtGlobal>

#include "results/provenance.h"

namespace lumivar::gui {

QStringList page_candidates(const QString& program_folder, const QString& name) {
  return {QDir(program_folder).filePath(name), QStringLiteral(":/help/") + name};
}

QString read_first(const QStringList& candidates, QString* found) {
  for (const QString& path : candidates) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) continue;
    if (found != nullptr) *found = path;
    return QString::fromUtf8(file.readAll());
  }
  return {};
}

QDialog* show_page(const QString& program_folder, const QString& name, const QString& title,
                   QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(title);
  auto* page = new QTextBrowser(dialog);
  page->setOpenExternalLinks(true);
  const QStringList candidates = page_candidates(program_folder, name);
  QString found;
  const QString text = read_first(candidates, &found);
  // The page's pictures are named relative to it: they are looked up in
  // its folder (beside the program, or the compiled-in copies).
  page->setSearchPaths({QFileInfo(found).path()});
  if (text.isEmpty()) {
    page->setPlainText(QStringLiteral("%1 was not found. It was looked for in:\n").arg(name) +
                       candidates.join(QLatin1Char('\n')));
  } else {
    page->setMarkdown(text);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(page);
  layout->addWidget(buttons);
  dialog->resize(720, 560);
  dialog->show();
  return dialog;
}

QString about_text() {
  return QStringLiteral(
             "<p><b>Lumivar %1</b></p>"
             "<p>Shape variation in landmark data measured twice: Procrustes superimposition, "
             "a variance partition and a restricted permutation test.</p>"
             "<p>Published under the MIT licence. The libraries it links keep their own "
             "licences, listed in the file NOTICE beside the licence.</p>"
             "<p><b>How to cite:</b> Lumivar %1 (the version above), the Lumivar developers, "
             "2026; the file CITATION.cff holds the citation in a form reference managers "
             "read. Cite the seed and the number of permutations of each run with it (saved "
             "results carry both).</p>"
             "<p><b>The manual:</b> Help &gt; Manual; installed as manual.md in %4; "
             "<tt>man lumivar</tt> and <tt>man lumivar-batch</tt>.</p>"
             "<p>Built with Qt %2, running on Qt %3.</p>")
      .arg(QString::fromStdString(results::program_version()), QStringLiteral(QT_VERSION_STR),
           QString::fromLatin1(qVersion()), QStringLiteral(LUMIVAR_DOC_DIR));
}

}  // namespace lumivar::gui
