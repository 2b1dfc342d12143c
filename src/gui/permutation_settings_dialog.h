#pragma once
// Permutation settings…: how the window's "Permute" runs. The seed is fresh
// each run (the default: drawn from the system, then shown in the status
// bar) or fixed, so that a run can be repeated here or with the batch tool's
// --seed; the engine; the threads; and the way to the sums, with the way
// "auto" takes for the data loaded. None of it changes the counts for a
// given seed except the seed itself.
#include <QDialog>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "permutation/permute_settings.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace lumivar::gui {

class PermutationSettingsDialog : public QDialog {
 public:
  // `rows`: rows of the landmark data loaded, if any (for what "auto" takes).
  // `last_seed`: the seed of the last run, offered when the user fixes one.
  PermutationSettingsDialog(const permutation::PermuteSettings& current,
                            std::optional<std::size_t> rows,
                            std::optional<std::uint64_t> last_seed, QWidget* parent = nullptr);

  // Copies the choices into `settings` (seed, engine, threads, sums). Call
  // after the dialog was accepted; OK is enabled only with a valid seed.
  void apply_to(permutation::PermuteSettings& settings) const;

  QRadioButton* fresh_seed() const { return fresh_; }
  QRadioButton* fixed_seed() const { return fixed_; }
  QLineEdit* seed_edit() const { return seed_; }
  QComboBox* engine_box() const { return engine_; }
  QComboBox* sums_box() const { return sums_; }
  // Which way "auto" takes for the loaded data.
  QLabel* auto_note() const { return auto_note_; }
  QDialogButtonBox* buttons() const { return buttons_; }

 private:
  std::optional<std::uint64_t> typed_seed() const;
  void update();

  std::optional<std::size_t> rows_;
  QRadioButton* fresh_;
  QRadioButton* fixed_;
  QLineEdit* seed_;
  QComboBox* engine_;
  QSpinBox* threads_;
  QComboBox* sums_;
  QLabel* auto_note_;
  QDialogButtonBox* buttons_;
};

// What "auto" takes for `rows` rows with `engine`, in words ("the distance
// matrix", "the coordinates"), or a note that nothing is loaded yet.
QString auto_sums_note(std::optional<std::size_t> rows, permutation::Engine engine);
// The note under the sums' choice for the way `chosen`: what "auto" takes, or
// what the way chosen by name means with `engine`.
QString sums_note(std::optional<std::size_t> rows, permutation::Engine engine,
                  partition::SumsMethod chosen);

}  // namespace lumivar::gui
