#include "gui/desktop_shell.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <filesystem>

#include "gui/analysis_views.h"
#include "gui/help_pages.h"
#include "gui/import_study_dialog.h"
#include "gui/results_file.h"
#include "gui/study_status.h"
#include "gui/window_placement.h"

namespace lumivar::gui {

namespace {

// The buttons of the layout that the menus press.
const char* const kLoadButton = "LoadButton";
const char* const kLoadRepGroupButton = "LoadRepGroupButton";
const char* const kLoadGroupButton = "LoadGroupButton";
const char* const kVarExpButton = "VarExpButton";
const char* const kPermuteButton = "PermuteButton";

std::optional<FileKind> kind_of_button(const std::string& tag) {
  if (tag == kLoadButton) return FileKind::kLandmarks;
  if (tag == kLoadRepGroupButton) return FileKind::kMeasurementCodes;
  if (tag == kLoadGroupButton) return FileKind::kGroupCodes;
  return std::nullopt;
}

runtime::FileChoice choice_of(const std::string& path) {
  const std::filesystem::path p(path);
  return {false, p.filename().string(), p.parent_path().string() + "/"};
}

// The files by name and the folder of the landmark file, so that studies
// kept as files of the same names in several folders can be told apart.
QString recent_study_text(const RecentStudy& s) {
  const QString folder = QDir::toNativeSeparators(QFileInfo(s.landmarks).absolutePath());
  if (s.imported)
    return QStringLiteral("%1 with %2 (import) \u2014 %3")
        .arg(QFileInfo(s.landmarks).fileName(), QFileInfo(s.codes).fileName(), folder);
  return QStringLiteral("%1; %2; %3 \u2014 %4")
      .arg(QFileInfo(s.landmarks).fileName(), QFileInfo(s.codes).fileName(),
           QFileInfo(s.groups).fileName(), folder);
}

}  // namespace

DesktopShell::DesktopShell(shell::Application& app, runtime::qt::QtWindowRuntime& ui,
                           runtime::Handle fig, AnalysisViews& views,
                           std::unique_ptr<AppSettings> settings, QString program_folder)
    : QObject(ui.widget(fig)),
      app_(app),
      ui_(ui),
      fig_(fig),
      window_(ui.widget(fig)),
      views_(&views),
      settings_(std::move(settings)),
      program_folder_(std::move(program_folder)) {
  const runtime::Value name = ui_.get(fig_, "Name");
  base_title_ = name.is_text() ? name.text() : std::string("Lumivar");
  settings_->read_permute_settings(app_.permute_settings);
  add_menus(views);
  add_status_bar();
  // A window cut short by the screen scrolls its controls rather than squeeze
  // the results to a line: laid out 420 high they keep five, the status boxes three.
  ui_.set_form_height(fig_, 420);
  watch_inputs();
  ui_.set_file_dialog(
      [this](const std::string& filter, const std::string& title) { return choose_file(filter, title); });
  // The remembered place, or the layout's first one: either way all of the
  // window, title bar included, on the screen.
  place_on_screen(window_, settings_->window_geometry().value_or(window_->geometry()));
  window_->setAcceptDrops(true);
  window_->installEventFilter(this);
  const QPointer<DesktopShell> alive(this);
  listen_to_analyses(app_, [alive] {
    if (alive) alive->analysis_changed();
  });
  analysis_changed();
}

DesktopShell::~DesktopShell() { ui_.set_file_dialog({}); }

QAction* DesktopShell::add(QMenu* menu, Command c, const QString& text, const QKeySequence& keys) {
  QAction* a = menu->addAction(text);
  if (!keys.isEmpty()) a->setShortcut(keys);
  actions_[c] = a;
  return a;
}

void DesktopShell::add_menus(AnalysisViews& views) {
  QMenuBar* bar = views.menu_bar();
  QAction* view_menu = bar->actions().isEmpty() ? nullptr : bar->actions().front();

  auto* file = new QMenu(QStringLiteral("&File"), bar);
  add(file, kLoadLandmarks, QStringLiteral("Load &landmarks\u2026"), QKeySequence::Open);
  add(file, kLoadLandmarks3d, QStringLiteral("Load landmarks in &3-D (x, y, z)\u2026"));
  add(file, kLoadCodes, QStringLiteral("Load &measurement codes\u2026"));
  add(file, kLoadGroups, QStringLiteral("Load &group codes\u2026"));
  add(file, kImportStudy, QStringLiteral("&Import study\u2026"));
  recent_ = file->addMenu(QStringLiteral("Open &recent"));
  file->addSeparator();
  add(file, kSaveResults, QStringLiteral("&Save results\u2026"), QKeySequence::Save);
  file->addSeparator();
  // Some platforms bind no key to Quit; Ctrl+Q is what users expect there.
  const bool quit_bound = !QKeySequence::keyBindings(QKeySequence::Quit).isEmpty();
  add(file, kQuit, QStringLiteral("&Quit"),
      quit_bound ? QKeySequence(QKeySequence::Quit) : QKeySequence(Qt::CTRL | Qt::Key_Q));

  auto* edit = new QMenu(QStringLiteral("&Edit"), bar);
  add(edit, kCopyResults, QStringLiteral("&Copy results"), QKeySequence::Copy);
  add(edit, kSelectAll, QStringLiteral("Select &all"), QKeySequence::SelectAll);

  auto* analysis = new QMenu(QStringLiteral("&Analysis"), bar);
  add(analysis, kVarExp, QStringLiteral("&Partition variation"), QKeySequence(Qt::Key_F5));
  add(analysis, kPermute, QStringLiteral("Permutation &test"), QKeySequence(Qt::Key_F6));
  add(analysis, kStrata, QStringLiteral("Tests by st&rata"));
  analysis->addSeparator();
  add(analysis, kPermuteSettings, QStringLiteral("Permutation &settings\u2026"));

  bar->insertMenu(view_menu, file);
  bar->insertMenu(view_menu, edit);
  bar->insertMenu(view_menu, analysis);
  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  add(help, kColumnsHelp, QStringLiteral("What the &columns mean"), QKeySequence::HelpContents);
  add(help, kManual, QStringLiteral("&Manual"));
  add(help, kAbout, QStringLiteral("&About Lumivar"));

  // Menu shortcuts work wherever the focus is in the main window, except
  // where a focused control takes the keys itself (copying a selection).
  for (QAction* a : actions_) {
    a->setShortcutContext(Qt::WindowShortcut);
    window_->addAction(a);
  }
  const auto on = [this](Command c, auto slot) { connect(actions_[c], &QAction::triggered, this, slot); };
  on(kLoadLandmarks, [this] { press(kLoadButton); });
  // The same load with the file read as three coordinates per landmark; a
  // plain file says so only when it carries the note, so the user chooses.
  on(kLoadLandmarks3d, [this] {
    struct Choice {
      int& d;
      ~Choice() { d = 0; }  // only this one load, however it ends
    } choice{app_.landmark_dimensions = 3};
    press(kLoadButton);
  });
  on(kLoadCodes, [this] { press(kLoadRepGroupButton); });
  on(kLoadGroups, [this] { press(kLoadGroupButton); });
  importer_ = new StudyImporter(app_, ui_, window_);
  importer_->set_columns(settings_->import_columns().toStdString());
  on(kImportStudy, [this] {
    importer_->run();
    if (importer_->loaded())
      settings_->set_import_columns(QString::fromStdString(importer_->loaded()->columns));
    refresh();
  });
  on(kSaveResults, [this] { save_results(); });
  on(kQuit, [this] {
    // The windows' own closes that follow are the program's, not the user's:
    // they ask nothing more.
    if (may_lose_results()) QApplication::closeAllWindows();
  });
  on(kCopyResults, [this] { copy_results(); });
  on(kSelectAll, [this] { select_all(); });
  on(kVarExp, [this] { press(kVarExpButton); });
  on(kPermute, [this] { press(kPermuteButton); });
  on(kPermuteSettings, [this] { edit_permutation_settings(); });
  on(kStrata, [this] {
    show_strata();
    strata_view_->show();
    strata_view_->raise();
  });
  on(kColumnsHelp, [this] {
    show_page(program_folder_, QStringLiteral("columns.md"), QStringLiteral("What the columns mean"), window_);
  });
  on(kManual, [this] {
    show_page(program_folder_, QStringLiteral("manual.md"), QStringLiteral("Lumivar manual"), window_);
  });
  on(kAbout, [this] {
    QMessageBox::about(window_, QStringLiteral("About Lumivar"), about_text());
  });
  rebuild_recent_menu();
}

void DesktopShell::add_status_bar() {
  status_bar_ = new QStatusBar(window_);
  study_ = new QLabel(status_bar_);
  stale_ = new QLabel(status_bar_);
  stale_->setStyleSheet(QStringLiteral("font-weight: bold"));
  // The note names the files that changed: on a narrow window it takes a
  // second line rather than losing its end.
  stale_->setWordWrap(true);
  seed_ = new QLabel(status_bar_);
  seed_->setTextInteractionFlags(Qt::TextSelectableByMouse);  // to copy the seed
  // Without a size grip nothing keeps the seed's last digit off the window's edge.
  seed_->setContentsMargins(0, 0, window_->style()->pixelMetric(QStyle::PM_LayoutRightMargin), 0);
  status_bar_->addWidget(study_, 1);
  status_bar_->addWidget(stale_, 1);
  status_bar_->addPermanentWidget(seed_);
  status_bar_->setSizeGripEnabled(false);
  if (QLayout* layout = window_->layout()) layout->addWidget(status_bar_);
}

QWidget* DesktopShell::box(const char* tag) const {
  for (runtime::Handle h : ui_.tree(fig_))
    if (ui_.get(h, "Tag") == runtime::Value(std::string(tag))) return ui_.widget(h);
  return nullptr;
}

void DesktopShell::watch_inputs() {
  // A load sets its status box (the runtime keeps the box's own signals
  // quiet, not its document's); the session is complete once the action
  // ends, so the status bar follows from the event loop.
  for (const char* tag : {"FileBox", "RepBox", "GroupBox"})
    if (auto* status = dynamic_cast<QPlainTextEdit*>(box(tag)))
      connect(status->document(), &QTextDocument::contentsChanged, this, [this] { refresh(); },
              Qt::QueuedConnection);
  const std::pair<const char*, const char*> drop_boxes[] = {
      {"FileBox", kLoadButton}, {"RepBox", kLoadRepGroupButton},
      {"GroupBox", kLoadGroupButton}};
  for (const auto& [tag, button] : drop_boxes) {
    if (auto* status = dynamic_cast<QPlainTextEdit*>(box(tag))) {
      status->viewport()->setAcceptDrops(true);
      status->viewport()->installEventFilter(this);
      drop_targets_[status->viewport()] = button;
    }
  }
  const QString count = settings_->store().value(QStringLiteral("permutation/count")).toString();
  if (!count.isEmpty())
    for (runtime::Handle h : ui_.find_by_tag("PermBox")) ui_.set(h, "String", runtime::Value(count.toStdString()));
  // Return in the permutations box starts the test, as the button does.
  if (auto* perm = dynamic_cast<QLineEdit*>(box("PermBox")))
    connect(perm, &QLineEdit::returnPressed, this, [this] { press(kPermuteButton); });
}

void DesktopShell::press(const char* button_tag) {
  for (runtime::Handle h : ui_.tree(fig_)) {
    if (ui_.get(h, "Tag") == runtime::Value(std::string(button_tag))) {
      ui_.invoke_callback(h);
      return;
    }
  }
}

runtime::FileChoice DesktopShell::choose_file(const std::string& filter, const std::string& title) {
  if (!scripted_.empty()) {
    const std::string path = scripted_.front();
    scripted_.pop_front();
    return choice_of(path);
  }
  const runtime::Value caller = ui_.callback_object();
  const runtime::Value tag = caller.is_empty() ? runtime::Value() : ui_.get(caller.scalar(), "Tag");
  const std::optional<FileKind> kind = kind_of_button(tag.is_text() ? tag.text() : "");
  // The dialog opens in the working folder: the folder of this kind of file last time.
  const QString before = QDir::currentPath();
  if (kind) {
    const QString folder = settings_->last_folder(*kind);
    if (!folder.isEmpty() && QDir(folder).exists()) QDir::setCurrent(folder);
  }
  runtime::FileChoice choice;
  if (chooser_) {
    choice = chooser_(filter, title);
  } else {
    ui_.set_file_dialog({});  // the runtime's own dialog, once
    choice = ui_.open_file_dialog(filter, title);
    ui_.set_file_dialog([this](const std::string& f, const std::string& t) { return choose_file(f, t); });
  }
  if (choice.cancelled) {
    QDir::setCurrent(before);  // a cancelled load changes nothing
  } else if (kind) {
    settings_->set_last_folder(*kind, QString::fromStdString(choice.folder));
  }
  return choice;
}

void DesktopShell::open_study(const RecentStudy& study) {
  for (const QString& path : {study.landmarks, study.codes, study.groups}) {
    if (!QFileInfo(path).isFile()) {
      QMessageBox::warning(window_, QStringLiteral("Open recent"),
                           QStringLiteral("%1 is no longer there; the study is taken off the list.")
                               .arg(path));
      settings_->remove_recent_study(study);
      rebuild_recent_menu();
      return;
    }
  }
  if (study.imported) {
    // As it was opened: the landmark file and the sheet, with its mapping.
    study::StudySources sources;
    sources.landmarks = study.landmarks.toStdString();
    sources.sheet = study.codes.toStdString();
    sources.columns = study.columns.toStdString();
    importer_->open(sources);
    refresh();
    return;
  }
  scripted_ = {study.landmarks.toStdString(), study.codes.toStdString(), study.groups.toStdString()};
  press(kLoadButton);
  press(kLoadRepGroupButton);
  press(kLoadGroupButton);
  scripted_.clear();
}

std::optional<RecentStudy> DesktopShell::recent_entry(const runtime::InputSources& s) const {
  if (s.data.path.empty() || s.reps.path.empty() || s.groups.path.empty()) return std::nullopt;
  RecentStudy study;
  study.landmarks = QString::fromStdString(s.data.path);
  study.codes = QString::fromStdString(s.reps.path);
  study.groups = QString::fromStdString(s.groups.path);
  // An imported study's codes came from its sheet: open it as an import.
  const std::optional<study::StudySources>& imported = importer_->loaded();
  if (imported && imported->landmarks == s.data.path && imported->sheet == s.reps.path &&
      imported->sheet == s.groups.path) {
    study.imported = true;
    study.columns = QString::fromStdString(imported->columns);
  }
  return study;
}

void DesktopShell::rebuild_recent_menu() {
  recent_->clear();
  const std::vector<RecentStudy> studies = settings_->recent_studies();
  for (const RecentStudy& s : studies) {
    QAction* a = recent_->addAction(recent_study_text(s));
    a->setToolTip(QStringList{s.landmarks, s.codes, s.groups}.join(QLatin1Char('\n')));
    connect(a, &QAction::triggered, this, [this, s] { open_study(s); });
  }
  recent_->setToolTipsVisible(true);
  recent_->setEnabled(!studies.empty());
}

void DesktopShell::save_results() {
  const std::shared_ptr<const shell::AnalysisSnapshot> analysis = app_.last_analysis;
  if (!analysis) return;  // the entry is disabled until there is an analysis
  const QString start = QDir(settings_->last_folder(FileKind::kResults).isEmpty()
                                 ? QDir::currentPath()
                                 : settings_->last_folder(FileKind::kResults))
                            .filePath(QStringLiteral("results.txt"));
  QString filter;
  QString path = save_dialog_ ? save_dialog_(start, &filter)
                              : QFileDialog::getSaveFileName(window_, QStringLiteral("Save results"),
                                                             start, results_filters(), &filter);
  if (path.isEmpty()) return;
  path = with_extension(path, filter);
  const runtime::Value resbox = ui_.get(ui_.find_by_tag("ResBox").at(0), "String");
  const std::string date =
      QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
  // The tests by strata go with the analysis they were computed for, once shown.
  const permutation::StrataResults* strata =
      strata_view_ && strata_view_->analysis() == analysis && strata_view_->results()
          ? &*strata_view_->results()
          : nullptr;
  const QString error = write_file(path, results_content(results_format(path), *analysis,
                                                         resbox.is_text() ? resbox.text() : "",
                                                         date, strata));
  if (!error.isEmpty()) {
    QMessageBox::warning(window_, QStringLiteral("Save results"),
                         QStringLiteral("Could not save %1: %2").arg(path, error));
    return;
  }
  settings_->set_last_folder(FileKind::kResults, QFileInfo(path).absolutePath());
  results_unsaved_ = false;
  status_bar_->showMessage(QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(path)), 5000);
}

void DesktopShell::copy_results() {
  auto* results = dynamic_cast<QPlainTextEdit*>(box("ResBox"));
  if (results == nullptr) return;
  QString selected = results->textCursor().selectedText();
  QApplication::clipboard()->setText(
      selected.isEmpty() ? results->toPlainText() : selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
}

void DesktopShell::select_all() {
  auto* results = dynamic_cast<QPlainTextEdit*>(box("ResBox"));
  if (results == nullptr) return;
  results->setFocus();
  results->selectAll();
}

void DesktopShell::edit_permutation_settings() {
  if (settings_dialog_) {
    settings_dialog_->raise();
    return;
  }
  std::optional<std::size_t> rows;
  if (!app_.session.sources.data.path.empty()) rows = app_.session.data.rows();
  std::optional<std::uint64_t> last_seed;
  if (app_.last_analysis && app_.last_analysis->kind == shell::AnalysisKind::kPermute)
    last_seed = app_.last_analysis->permutation.plan.seed;
  settings_dialog_ = new PermutationSettingsDialog(app_.permute_settings, rows, last_seed, window_);
  settings_dialog_->setAttribute(Qt::WA_DeleteOnClose);
  connect(settings_dialog_, &QDialog::accepted, this, [this] {
    settings_dialog_->apply_to(app_.permute_settings);
    settings_->write_permute_settings(app_.permute_settings);
  });
  settings_dialog_->open();
}

void DesktopShell::analysis_changed() {
  const std::shared_ptr<const shell::AnalysisSnapshot>& last = app_.last_analysis;
  actions_[kSaveResults]->setEnabled(last != nullptr);
  actions_[kStrata]->setEnabled(last != nullptr || !app_.session.data.empty());
  results_unsaved_ = last != nullptr;
  // The number of relabellings typed last is the one offered next time.
  if (last && last->kind == shell::AnalysisKind::kPermute)
    settings_->store().setValue(QStringLiteral("permutation/count"),
                                QString::number(last->permutation.plan.nperm));
  if (strata_view_ && last) strata_view_->show_analysis(last);
  if (last) {
    if (const std::optional<RecentStudy> study = recent_entry(last->sources)) {
      settings_->add_recent_study(*study);
      rebuild_recent_menu();
    }
  }
  refresh();
}

void DesktopShell::show_strata() {
  // With an analysis of the loaded files, its tests; otherwise (none yet, or
  // the specified analyses refused the design) the study's own.
  const std::shared_ptr<const shell::AnalysisSnapshot>& last = app_.last_analysis;
  const bool current = last && stale_note(last->sources, app_.session.sources).empty();
  if (!strata_view_) {
    strata_view_ = new StrataView(app_.progress_opener(), window_);
    // Another type of sums changes only the tables of unequal cells, which
    // the study's own tests show.
    strata_view_->set_on_type_changed([this] { show_strata(); });
  }
  if (current) {
    if (strata_view_->analysis() != last) strata_view_->show_analysis(last);
  } else {
    const auto* perm = dynamic_cast<QLineEdit*>(box("PermBox"));
    const auto labels =
        shape_space::labels_for(app_.imported_labels, app_.session.sources, app_.session.data.rows());
    strata_view_->show_study(app_.session, app_.permute_settings,
                             perm ? perm->text().toStdString() : std::string("0"),
                             labels ? labels->specimen_ids : std::vector<std::string>{});
  }
}

void DesktopShell::refresh() {
  const runtime::Session& s = app_.session;
  study_->setText(QString::fromStdString(study_summary(s)));
  actions_[kStrata]->setEnabled(app_.last_analysis != nullptr || !s.data.empty());
  const std::shared_ptr<const shell::AnalysisSnapshot>& last = app_.last_analysis;
  stale_->setText(last ? QString::fromStdString(stale_note(last->sources, s.sources)) : QString());
  stale_->setVisible(!stale_->text().isEmpty());
  seed_->setText(last && last->kind == shell::AnalysisKind::kPermute
                     ? QStringLiteral("Seed %1").arg(last->permutation.plan.seed)
                     : QString());
  std::string title = base_title_;
  if (!s.sources.data.path.empty()) title = file_name(s.sources.data.path) + " \u2014 " + title;
  ui_.set(fig_, "Name", runtime::Value(title));
}

bool DesktopShell::may_lose_results() {
  return !results_unsaved_ ||
         (quit_question_ ? quit_question_()
                         : QMessageBox::question(window_, QStringLiteral("Quit"),
                                                 QStringLiteral("The results of the last analysis are not "
                                                                "saved. Quit anyway?")) ==
                               QMessageBox::Yes);
}

bool DesktopShell::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Close) {
    // The title bar's close button (or the window manager's key for it) loses
    // the results as Quit does. Only a close the window system delivers is
    // the user's: one the program makes (Quit, which has asked already, or
    // the end of a test) must not wait on a question nobody will answer.
    if (event->spontaneous() && results_unsaved_) {
      // Once the user agrees, the window closes as the program closes it: a
      // close event that waited on a question may not reach the window (under
      // openbox, after Alt+F4), and the window manager may repeat its request
      // meanwhile, which the answer given covers.
      if (!close_agreed_ && may_lose_results()) {
        close_agreed_ = true;
        QTimer::singleShot(0, window_, [w = window_] { w->close(); });
      }
      event->ignore();
      return true;
    }
    settings_->set_window_geometry(window_->geometry());
  }
  if (watched == window_) {
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
      return dropped_on_window(event);
  }
  if (drop_targets_.count(watched) != 0) return dropped_on_box(watched, event);
  return QObject::eventFilter(watched, event);
}

bool DesktopShell::dropped_on_box(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);  // QDragEnterEvent and QDragMoveEvent are drops too
  const QList<QUrl> urls = drop->mimeData()->urls();
  if (urls.size() > 1) return dropped_on_window(event);  // a study, not one box's file
  // One local file: what the button's dialog would have returned.
  if (urls.size() != 1 || !urls.front().isLocalFile() || !QFileInfo(urls.front().toLocalFile()).isFile()) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  if (type == QEvent::Drop) {
    scripted_ = {QDir::toNativeSeparators(urls.front().toLocalFile()).toStdString()};
    press(drop_targets_.at(watched));
    scripted_.clear();
  }
  return true;
}

bool DesktopShell::dropped_on_window(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  QStringList paths;
  for (const QUrl& url : drop->mimeData()->urls()) {
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile()) {
      drop->ignore();  // only files, as the buttons' dialogs give
      return true;
    }
    paths << QDir::toNativeSeparators(url.toLocalFile());
  }
  if (paths.isEmpty()) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  if (event->type() != QEvent::Drop) return true;
  std::vector<DroppedFile> files = classify(paths);
  if (!kinds_are_clear(files)) {
    std::optional<std::vector<DroppedFile>> chosen;
    if (drop_chooser_) {
      chosen = drop_chooser_(files);
    } else {
      DroppedFilesDialog dialog(files, window_);
      if (dialog.exec() == QDialog::Accepted) chosen = dialog.files();
    }
    if (!chosen) return true;
    files = std::move(*chosen);
  }
  load_dropped(in_load_order(files));
  return true;
}

void DesktopShell::load_dropped(const std::vector<DroppedFile>& files) {
  for (const DroppedFile& f : files) {
    scripted_ = {f.path.toStdString()};
    switch (*f.kind) {
      case FileKind::kLandmarks: press(kLoadButton); break;
      case FileKind::kMeasurementCodes: press(kLoadRepGroupButton); break;
      case FileKind::kGroupCodes: press(kLoadGroupButton); break;
      case FileKind::kResults: break;
    }
  }
  scripted_.clear();
}

DesktopShell* add_desktop_shell(shell::Application& app, runtime::qt::QtWindowRuntime& ui,
                                AnalysisViews* views, const QString& program_folder) {
  if (views == nullptr) return nullptr;
  for (runtime::Handle h : ui.find_by_tag("LumivarWindow")) {
    if (ui.type_of(h) != "figure" || ui.widget(h) == nullptr) continue;
    return new DesktopShell(app, ui, h, *views, std::make_unique<AppSettings>(), program_folder);
  }
  return nullptr;
}

}  // namespace lumivar::gui
