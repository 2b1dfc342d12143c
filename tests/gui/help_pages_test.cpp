// Help > Manual as an installed program shows it: the user manual compiled
// into the program, every picture it names found (no broken-image icons),
// nothing for developers; and the About box's licence, citation and manual.
#include "gui/help_pages.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

namespace lumivar::gui {
namespace {

// The names of the pictures the document shows.
QStringList image_names(const QTextDocument* doc) {
  QStringList names;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      if (f.isImageFormat()) names << f.toImageFormat().name();
    }
  return names;
}

TEST(HelpPages, TheManualShowsEveryPictureFromTheCopyInTheProgram) {
  const QTemporaryDir empty;  // no copy beside the program: the installed case
  QDialog* shown = show_page(empty.path(), QStringLiteral("manual.md"), QStringLiteral("Lumivar manual"), nullptr);
  auto* browser = shown->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  const QStringList names = image_names(browser->document());
  EXPECT_GE(names.size(), 7) << browser->toPlainText().left(300).toStdString();
  for (const QString& name : names) {
    const QVariant picture = browser->loadResource(QTextDocument::ImageResource, QUrl(name));
    const bool found = picture.canConvert<QImage>() ? !picture.value<QImage>().isNull()
                                                    : picture.canConvert<QByteArray>() &&
                                                          !QImage::fromData(picture.toByteArray()).isNull();
    EXPECT_TRUE(found) << name.toStdString();
  }
  // For users: how to open a study; the developers' tools stay in the README.
  const QString text = browser->toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("Open recent")));
  for (const char* developer : {"sanitize", "fuzz", "Layout of the code", "scripts/"})
    EXPECT_FALSE(text.contains(QLatin1String(developer), Qt::CaseInsensitive)) << developer;
  delete shown;
}

TEST(HelpPages, AboutNamesVersionLicenceCitationAndManual) {
  const QString about = about_text();
  for (const char* part : {"MIT licence", "NOTICE", "CITATION.cff", "Help &gt; Manual", "man lumivar"})
    EXPECT_TRUE(about.contains(QLatin1String(part))) << part;
}

}  // namespace
}  // namespace lumivar::gui
