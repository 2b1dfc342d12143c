#include "gui/import_study_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>


#include "gui/results_file.h"
#include "gui/study_status.h"
#include "input/load_progress.h"
#include "runtime/error.h"
#include "runtime/file_lines.h"
#include "runtime/sha256.h"
#include "study/study_text.h"

namespace lumivar::gui {

namespace {

// Streamed, so that a large landmark file is not held whole once more.
std::string file_digest(const std::string& path) {
  runtime::FileLines in(path);
  return in.status() == runtime::FileLines::Status::kOpen ? in.finish_sha256() : runtime::sha256_hex("");
}

}  // namespace

ImportOutcome try_import(const study::StudySources& sources, const runtime::ReadProgress& progress) {
  ImportOutcome out;
  try {
    out.study = study::import_study(sources, progress);
  } catch (const runtime::Cancelled&) {
    throw;
  } catch (const runtime::Error& e) {
    out.refusal = e.what();
  }
  return out;
}

QString review_text(const study::StudySources& sources, const ImportOutcome& outcome) {
  QString text = QStringLiteral("Landmarks: %1\nSheet: %2\n\n")
                     .arg(QString::fromStdString(sources.landmarks), QString::fromStdString(sources.sheet));
  if (outcome.study) return text + QString::fromStdString(study::summary_text(*outcome.study));
  return text + QStringLiteral("Refused, nothing will be loaded:\n") + QString::fromStdString(outcome.refusal);
}

ImportStudyDialog::ImportStudyDialog(study::StudySources sources, QWidget* parent, Importer import)
    : QDialog(parent),
      sources_(std::move(sources)),
      import_(import ? std::move(import) : [](const study::StudySources& s) { return try_import(s); }) {
  setWindowTitle(QStringLiteral("Import study"));
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  // A refusal names files and lines in long sentences: they wrap.
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  columns_ = new QLineEdit(QString::fromStdString(sources_.columns), this);
  columns_->setPlaceholderText(QStringLiteral("id=Image,specimen=Ind,measurement=Age"));
  columns_->setToolTip(QStringLiteral("Sheet columns for other names than id, specimen, measurement, G1, G2"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Sheet &columns:"), columns_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  load_ = buttons->addButton(QStringLiteral("&Load"), QDialogButtonBox::AcceptRole);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addLayout(form);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(columns_, &QLineEdit::editingFinished, this, [this] {
    const std::string built = sources_.columns;
    if (columns_->text().trimmed().toStdString() == built) return;
    rebuilt_by_edit_ = true;
    QTimer::singleShot(0, this, [this] { rebuilt_by_edit_ = false; });
    try {
      rebuild();
    } catch (const runtime::Cancelled& e) {
      // The build stopped: nothing to load until the mapping is confirmed
      // again, which builds anew.
      sources_.columns = built;
      outcome_ = {std::nullopt, e.what()};
      text_->setPlainText(review_text(sources_, outcome_));
      load_->setEnabled(false);
    }
  });
  resize(640, 360);
  rebuild();
}

QString ImportStudyDialog::text() const { return text_->toPlainText(); }

void ImportStudyDialog::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && rebuilt_by_edit_) {
    rebuilt_by_edit_ = false;
    event->accept();  // the summary of the new mapping is read first; Return again loads
    return;
  }
  QDialog::keyPressEvent(event);
}

void ImportStudyDialog::rebuild() {
  sources_.columns = columns_->text().trimmed().toStdString();
  outcome_ = import_(sources_);
  text_->setPlainText(review_text(sources_, outcome_));
  load_->setEnabled(outcome_.study.has_value());
}

std::vector<std::pair<std::string, std::string>> plain_files(const study::Study& s) {
  return {{"landmarks.txt", study::landmarks_text(s)},
          {"reps.txt", study::plain_text(s.repgroup)},
          {"groups.txt", study::plain_text(s.group)},
          {"codes.txt", study::codes_text(s)}};
}

StudyImporter::StudyImporter(shell::Application& app, runtime::WindowRuntime& ui, QWidget* window)
    : QObject(window), app_(app), ui_(ui), window_(window) {}

QString StudyImporter::ask_open(const QString& title, const QString& filter, const QString& folder) {
  if (open_) return open_(title, filter, folder);
  return QFileDialog::getOpenFileName(window_, title, folder, filter);
}

bool StudyImporter::ask(const QString& title, const QString& text) {
  if (question_) return question_(title, text);
  return QMessageBox::question(window_, title, text) == QMessageBox::Yes;
}

ImportOutcome StudyImporter::import_with_progress(const study::StudySources& s) {
  // A large landmark file shows its reading as the plain loads do; a
  // cancel there ends the import as it ends theirs, with nothing changed.
  input::LoadProgress watch(ui_, file_name(s.landmarks), app_.load_progress_bytes);
  return try_import(s, watch.hook());
}

bool StudyImporter::load_built(const study::StudySources& sources, const study::Study& built) {
  // The status boxes name the files as the three loads do, by their names;
  // the session records where the study came from, for the status bar, the
  // saved results' provenance and the note on stale results.
  const std::string& landmarks = sources.landmarks;
  const std::string& sheet = sources.sheet;
  try {
    study::load_study(ui_, app_.session, built, file_name(landmarks), file_name(sheet));
  } catch (const runtime::Error& e) {
    QMessageBox::warning(window_, QStringLiteral("Import study"), QString::fromStdString(e.what()));
    return false;
  }
  const runtime::InputSource sheet_source{sheet, file_digest(sheet)};
  app_.session.sources = {{landmarks, file_digest(landmarks)}, sheet_source, sheet_source};
  // The sheet's names for the analyses of these inputs (Application::set_last_analysis).
  app_.imported_labels = {std::make_shared<const shape_space::StudyLabels>(shape_space::labels_of(built)),
                          app_.session.sources};
  loaded_ = sources;
  columns_ = sources.columns;
  return true;
}

bool StudyImporter::open(const study::StudySources& sources) {
  ImportOutcome outcome;
  try {
    outcome = import_with_progress(sources);
  } catch (const runtime::Cancelled& e) {
    ui_.message_box(runtime::error_text(e), runtime::error_title(e));
    return false;
  }
  if (!outcome.study) {
    ui_.message_box("The study " + file_name(sources.landmarks) + " with " + file_name(sources.sheet) +
                        " could not be imported again; nothing was loaded.\n" + outcome.refusal,
                    "Open recent");
    return false;
  }
  return load_built(sources, *outcome.study);
}

void StudyImporter::run() {
  study::StudySources sources;
  sources.columns = columns_;
  sources.landmarks =
      ask_open(QStringLiteral("Import study: landmark file"),
               QStringLiteral("Landmark files (*.tps *.csv *.tsv *.txt);;All files (*)"),
               QDir::currentPath())
          .toStdString();
  if (sources.landmarks.empty()) return;
  // The sheet is most often kept beside the landmarks.
  sources.sheet = ask_open(QStringLiteral("Import study: specimen sheet"),
                           QStringLiteral("Specimen sheets (*.csv *.tsv *.txt);;All files (*)"),
                           QFileInfo(QString::fromStdString(sources.landmarks)).absolutePath())
                      .toStdString();
  if (sources.sheet.empty()) return;

  const auto import = [this](const study::StudySources& s) { return import_with_progress(s); };
  std::optional<ImportStudyDialog> made;
  try {
    made.emplace(sources, window_, import);
  } catch (const runtime::Cancelled& e) {
    ui_.message_box(runtime::error_text(e), runtime::error_title(e));
    return;
  }
  ImportStudyDialog& dialog = *made;
  const bool load = review_ ? review_(dialog) : dialog.exec() == QDialog::Accepted;
  // Load is disabled on a refusal; a hook that answers yes anyway loads nothing.
  if (!load || !dialog.outcome().study) return;
  const study::Study& built = *dialog.outcome().study;
  if (!load_built(dialog.sources(), built)) return;

  if (!ask(QStringLiteral("Import study"),
           QStringLiteral("Save the study as plain files (landmarks.txt, reps.txt, groups.txt, codes.txt)?")))
    return;
  const QString folder = folder_ ? folder_(QStringLiteral("Save the study into"))
                                 : QFileDialog::getExistingDirectory(window_, QStringLiteral("Save the study into"),
                                                                     QFileInfo(QString::fromStdString(sources.sheet)).absolutePath());
  if (folder.isEmpty()) return;
  const QString done = save_plain_files(built, folder);
  if (done.isEmpty()) return;
  if (notice_)
    notice_(done);
  else
    QMessageBox::information(window_, QStringLiteral("Import study"), done);
}

QString StudyImporter::save_plain_files(const study::Study& s, const QString& folder) {
  const QDir dir(folder);
  const auto files = plain_files(s);
  QStringList existing;
  for (const auto& [name, text] : files)
    if (QFileInfo::exists(dir.filePath(QString::fromStdString(name)))) existing << QString::fromStdString(name);
  if (!existing.isEmpty() &&
      !ask(QStringLiteral("Import study"), QStringLiteral("%1 already holds %2. Replace them?")
                                               .arg(QDir::toNativeSeparators(folder), existing.join(QStringLiteral(", ")))))
    return {};
  for (const auto& [name, text] : files) {
    const QString path = dir.filePath(QString::fromStdString(name));
    const QString error = write_file(path, text);
    if (!error.isEmpty()) return QStringLiteral("Could not save %1: %2").arg(path, error);
  }
  return QStringLiteral("Saved landmarks.txt, reps.txt, groups.txt and codes.txt in %1")
      .arg(QDir::toNativeSeparators(folder));
}

}  // namespace lumivar::gui
