#pragma once
// Files dropped on the main window together: which of a study's three files
// each one is, told from its first data line, and the dialog that asks when
// that is not clear.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "gui/app_settings.h"

class QComboBox;
class QPushButton;

namespace lumivar::gui {

struct DroppedFile {
  QString path;
  std::optional<FileKind> kind;  // none: not loaded
  bool operator==(const DroppedFile&) const = default;
};

// The kind a file's first line of numbers shows: landmarks have an odd
// number of columns, at least 5 (a label and x, y pairs); group codes 2;
// measurement codes 1. Nothing when the file cannot be read or says none.
std::optional<FileKind> kind_from_contents(const QString& path);

// The dropped files with the kinds their contents show.
std::vector<DroppedFile> classify(const QStringList& paths);

// Every file has a kind and no kind is taken twice: nothing to ask.
bool kinds_are_clear(const std::vector<DroppedFile>& files);

// The files that have a kind, in the order a study loads: landmarks,
// measurement codes, group codes.
std::vector<DroppedFile> in_load_order(const std::vector<DroppedFile>& files);

// Lists each dropped file with a chooser of its kind (or not to load it),
// starting from what the contents show. OK is offered only while no kind is
// taken twice and something is to be loaded.
class DroppedFilesDialog : public QDialog {
 public:
  DroppedFilesDialog(const std::vector<DroppedFile>& files, QWidget* parent = nullptr);
  std::vector<DroppedFile> files() const;
  QComboBox* chooser(int i) const { return choosers_.at(static_cast<std::size_t>(i)); }
  QPushButton* ok_button() const { return ok_; }

 private:
  void update_ok();
  std::vector<DroppedFile> files_;
  std::vector<QComboBox*> choosers_;
  QPushButton* ok_ = nullptr;
};

}  // namespace lumivar::gui
