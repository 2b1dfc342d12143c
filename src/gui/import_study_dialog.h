#pragma once
// File > Import study…: a study kept as a landmark file (TPS, a table with a
// header, or the plain format) and a specimen sheet. The user picks both
// files, sees what was built (or why it was refused) before anything is
// loaded, loads it through the three load actions' own steps, and may save
// it as the three plain files and the codes, for the three-button workflow
// and for archiving. Every question the user is asked goes through a hook,
// so tests can answer them; the real dialogs answer when a hook is not set.
#include <QDialog>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "runtime/window_runtime.h"
#include "shell/application.h"
#include "study/load_study.h"

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumivar::gui {

// What an import of `sources` gives: the study, or the message that refused it.
struct ImportOutcome {
  std::optional<study::Study> study;
  std::string refusal;
};
// A cancel heard through `progress` is no refusal: runtime::Cancelled
// leaves this function.
ImportOutcome try_import(const study::StudySources& sources, const runtime::ReadProgress& progress = {});

// The text shown before loading: the two files, then the summary of the
// study or the refusal.
QString review_text(const study::StudySources& sources, const ImportOutcome& outcome);

// The summary shown before loading, with the column mapping the user may
// change (the study is built again when it is). Load is disabled while the
// import is refused.
class ImportStudyDialog : public QDialog {
 public:
  // How the study is built: try_import, or one that shows its progress.
  using Importer = std::function<ImportOutcome(const study::StudySources&)>;
  // Builds the study at once; a cancel of that first build leaves the
  // constructor as runtime::Cancelled.
  ImportStudyDialog(study::StudySources sources, QWidget* parent, Importer import = {});

  const study::StudySources& sources() const { return sources_; }
  const ImportOutcome& outcome() const { return outcome_; }
  QString text() const;
  QPushButton* load_button() const { return load_; }
  QLineEdit* columns_edit() const { return columns_; }
  // Builds the study again from the files with the mapping now entered.
  void rebuild();

 protected:
  // Return after a new mapping shows its summary instead of loading at once.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool rebuilt_by_edit_ = false;  // during the key press that finished the edit
  study::StudySources sources_;
  Importer import_;
  ImportOutcome outcome_;
  QPlainTextEdit* text_ = nullptr;
  QLineEdit* columns_ = nullptr;
  QPushButton* load_ = nullptr;
};

// The plain files of a study, by file name, in the order they are written.
std::vector<std::pair<std::string, std::string>> plain_files(const study::Study& s);

class StudyImporter : public QObject {
 public:
  // Asks for a file to open, starting in `folder`: the path, or empty when cancelled.
  using OpenChooser =
      std::function<QString(const QString& title, const QString& filter, const QString& folder)>;
  // Asks for a folder: the path, or empty when cancelled.
  using FolderChooser = std::function<QString(const QString& title)>;
  // Asks a yes/no question.
  using Question = std::function<bool(const QString& title, const QString& text)>;
  // Shows the summary; true to load.
  using Review = std::function<bool(ImportStudyDialog& dialog)>;
  // Tells the user what saving did.
  using Notice = std::function<void(const QString& text)>;

  StudyImporter(shell::Application& app, runtime::WindowRuntime& ui, QWidget* window);

  void set_open_chooser(OpenChooser c) { open_ = std::move(c); }
  void set_folder_chooser(FolderChooser c) { folder_ = std::move(c); }
  void set_question(Question q) { question_ = std::move(q); }
  void set_review(Review r) { review_ = std::move(r); }
  void set_notice(Notice n) { notice_ = std::move(n); }

  // The whole dialogue: the two files, the summary, loading, saving.
  void run();
  // Imports and loads `sources` again without asking (File > Open recent);
  // a study refused now (a file changed) is said in a box and loads nothing.
  // True when it loaded.
  bool open(const study::StudySources& sources);
  // The sources of the study loaded last (landmark file, sheet, mapping).
  const std::optional<study::StudySources>& loaded() const { return loaded_; }
  // The column mapping the summary starts with.
  void set_columns(const std::string& columns) { columns_ = columns; }
  // Writes the study's plain files into `folder`, asking before replacing
  // any file there. The message of what was done (empty when cancelled).
  QString save_plain_files(const study::Study& s, const QString& folder);

 private:
  QString ask_open(const QString& title, const QString& filter, const QString& folder);
  bool ask(const QString& title, const QString& text);
  ImportOutcome import_with_progress(const study::StudySources& s);
  // Hands a built study to the session; false (said in a box) when refused.
  bool load_built(const study::StudySources& sources, const study::Study& built);

  shell::Application& app_;
  runtime::WindowRuntime& ui_;
  QWidget* window_;
  OpenChooser open_;
  FolderChooser folder_;
  Question question_;
  Review review_;
  Notice notice_;
  std::string columns_;
  std::optional<study::StudySources> loaded_;
};

}  // namespace lumivar::gui
