#pragma once
// What makes the main window a desktop program, around the window the
// layout describes: the File, Edit, Analysis and Help menus (beside the View
// menu of analysis_views.h, on the same menu bar), a status bar with the
// loaded study, the seed of the last permutation run and a note when the
// results are older than the files loaded, saving results, the permutation
// settings, and what is remembered between sessions (app_settings.h).
//
// Every menu entry that the window also offers as a button runs that
// button's callback, so both go through the same dispatcher call and show
// the same texts; so does a file dropped on one of the three status boxes.
// Owned by the main window's widget.
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "gui/app_settings.h"
#include "gui/dropped_files.h"
#include "gui/permutation_settings_dialog.h"
#include "gui/strata_view.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/application.h"

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QWidget;

namespace lumivar::gui {

class AnalysisViews;
class StudyImporter;

class DesktopShell : public QObject {
 public:
  enum Command {
    kLoadLandmarks, kLoadCodes, kLoadGroups, kImportStudy, kSaveResults, kQuit,  // File
    kLoadLandmarks3d,                                                            // File
    kCopyResults, kSelectAll,                                     // Edit
    kVarExp, kPermute, kStrata, kPermuteSettings,                 // Analysis
    kColumnsHelp, kManual, kAbout,                                // Help
    kCommandCount
  };

  // `fig` is the main window, `views` its View menu (whose menu bar gets the
  // other menus). Reads the permutation settings and the window's place from
  // `settings`. `program_folder` is where help pages are looked for first.
  DesktopShell(shell::Application& app, runtime::qt::QtWindowRuntime& ui, runtime::Handle fig,
               AnalysisViews& views, std::unique_ptr<AppSettings> settings,
               QString program_folder);
  ~DesktopShell() override;

  QAction* action(Command c) const { return actions_[c]; }
  QMenu* recent_menu() const { return recent_; }
  QStatusBar* status_bar() const { return status_bar_; }
  QLabel* study_label() const { return study_; }
  QLabel* stale_label() const { return stale_; }
  QLabel* seed_label() const { return seed_; }
  AppSettings& settings() { return *settings_; }
  // The dialog opened by "Permutation settings…", while it is open.
  PermutationSettingsDialog* settings_dialog() const { return settings_dialog_; }
  // The tests by strata, null until first opened.
  StrataView* strata_view() const { return strata_view_; }
  // File > Import study… (its choosers can be answered by tests).
  StudyImporter* importer() const { return importer_; }

  // Asks where to save results: the path, with the filter picked in
  // `*selected_filter` (empty: cancelled). The real dialog when not set.
  using SaveDialog = std::function<QString(const QString& start, QString* selected_filter)>;
  void set_save_dialog(SaveDialog dialog) { save_dialog_ = std::move(dialog); }
  // Answers the open-file dialogs of the three loads once the dialog's
  // starting folder is set to the one remembered for that kind of file.
  // The real dialog when not set.
  void set_file_chooser(runtime::qt::QtWindowRuntime::FileDialog chooser) {
    chooser_ = std::move(chooser);
  }

  // Answers which kind each of several files dropped on the window is, when
  // their contents do not tell (nothing: cancelled). The real dialog when not set.
  using DropChooser =
      std::function<std::optional<std::vector<DroppedFile>>(const std::vector<DroppedFile>&)>;
  void set_drop_chooser(DropChooser chooser) { drop_chooser_ = std::move(chooser); }

  // Asks whether to quit with the last analysis unsaved (true: quit), for
  // Quit and for the title bar's close button. The real question when not set.
  void set_quit_question(std::function<bool()> question) { quit_question_ = std::move(question); }

  // Loads the three files of a study through the three load actions.
  void open_study(const RecentStudy& study);
  // Brings the status bar and the title up to date (also done, a moment
  // later, after every load and analysis).
  void refresh();
  // Runs the tests by strata into their view (made on first use): those of
  // the last analysis when it is of the loaded files, else the study's own.
  void show_strata();

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // True when there are no unsaved results or the user agrees to lose them.
  bool may_lose_results();
  // A file dropped on a status box loads as that box's kind.
  bool dropped_on_box(QObject* watched, QEvent* event);
  // Files dropped on the window load as the kinds their contents show, or
  // as the user says when that is not clear.
  bool dropped_on_window(QEvent* event);
  void load_dropped(const std::vector<DroppedFile>& files);
  void add_menus(AnalysisViews& views);
  QAction* add(QMenu* menu, Command c, const QString& text, const QKeySequence& keys = {});
  void add_status_bar();
  void watch_inputs();
  void press(const char* button_tag);
  runtime::FileChoice choose_file(const std::string& filter, const std::string& title);
  void save_results();
  void copy_results();
  void select_all();
  void edit_permutation_settings();
  void analysis_changed();
  void rebuild_recent_menu();
  // What Open recent keeps for a study loaded from `s` (none: not all three loaded).
  std::optional<RecentStudy> recent_entry(const runtime::InputSources& s) const;
  QWidget* box(const char* tag) const;

  shell::Application& app_;
  runtime::qt::QtWindowRuntime& ui_;
  runtime::Handle fig_;
  QWidget* window_;
  AnalysisViews* views_;
  std::unique_ptr<AppSettings> settings_;
  QString program_folder_;
  std::string base_title_;
  std::array<QAction*, kCommandCount> actions_{};
  QMenu* recent_ = nullptr;
  QStatusBar* status_bar_ = nullptr;
  QLabel* study_ = nullptr;
  QLabel* stale_ = nullptr;
  QLabel* seed_ = nullptr;
  QPointer<PermutationSettingsDialog> settings_dialog_;
  QPointer<StrataView> strata_view_;
  StudyImporter* importer_ = nullptr;
  SaveDialog save_dialog_;
  runtime::qt::QtWindowRuntime::FileDialog chooser_;
  DropChooser drop_chooser_;
  std::function<bool()> quit_question_;
  bool results_unsaved_ = false;  // an analysis shown and not saved since
  bool close_agreed_ = false;     // the user agreed to close: the window is going
  std::deque<std::string> scripted_;  // files of a study being opened, in load order
  std::map<QObject*, const char*> drop_targets_;  // a status box's viewport -> its button
};

// The start hook's second half: gives the main window of `views` its
// desktop shell, with the user's settings. Null when there is no main window.
DesktopShell* add_desktop_shell(shell::Application& app, runtime::qt::QtWindowRuntime& ui,
                                AnalysisViews* views, const QString& program_folder);

}  // namespace lumivar::gui
