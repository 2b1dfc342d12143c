#pragma once
// What the window program remembers between sessions (QSettings): the main
// window's place, the last folder of each kind of input file, the recent
// studies and the permutation settings. Owns its QSettings store: the user's
// configuration in the program, a temporary file in tests.
#include <QRect>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "permutation/permute_settings.h"

namespace lumivar::gui {

enum class FileKind { kLandmarks, kMeasurementCodes, kGroupCodes, kResults };

// The three files of one study, loaded together; or, for an imported study,
// its landmark file and its specimen sheet (in `codes` and `groups` both)
// with the sheet's column mapping, imported again when opened.
struct RecentStudy {
  QString landmarks, codes, groups;
  bool imported = false;
  QString columns;  // imported only: "role=column,..."; empty: the default names
  bool operator==(const RecentStudy&) const = default;
};

class AppSettings {
 public:
  // Studies kept in "Open recent", newest first.
  static constexpr int kMaxRecent = 8;

  // The user's configuration ("Lumivar" / "Lumivar").
  AppSettings();
  explicit AppSettings(std::unique_ptr<QSettings> store);

  // The main window's inner rectangle in screen coordinates, if saved.
  std::optional<QRect> window_geometry() const;
  void set_window_geometry(const QRect& r);

  // Empty when none was kept.
  QString last_folder(FileKind kind) const;
  void set_last_folder(FileKind kind, const QString& folder);

  std::vector<RecentStudy> recent_studies() const;
  // Puts `s` first (once), dropping the oldest beyond kMaxRecent.
  void add_recent_study(const RecentStudy& s);
  void remove_recent_study(const RecentStudy& s);

  // Seed (fixed or fresh), engine, threads and sums way; the rest of
  // `settings` is left as it is. Unreadable entries keep their defaults.
  void read_permute_settings(permutation::PermuteSettings& settings) const;
  void write_permute_settings(const permutation::PermuteSettings& settings);

  // The sheet's column mapping of the last import ("" before any).
  QString import_columns() const;
  void set_import_columns(const QString& columns);

  QSettings& store() { return *store_; }

 private:
  void write_recent(const std::vector<RecentStudy>& list);
  std::unique_ptr<QSettings> store_;
};

}  // namespace lumivar::gui
