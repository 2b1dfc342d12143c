#pragma once
// Analysis > Tests by strata: a window with the tests by strata of the last
// analysis (permutation/strata_report.h). After "Permute" the tests by
// residuals run with that run's seed, count and threads, so the batch
// tool's permute --strata with the same seed gives the same table; after
// "VarExp" the table has no P values. It follows each new analysis.
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "input/session.h"
#include "permutation/permute_settings.h"
#include "permutation/strata_report.h"
#include "runtime/progress_monitor.h"
#include "shell/analysis_snapshot.h"

class QComboBox;
class QPlainTextEdit;

namespace lumivar::gui {

// The tests for `analysis`; raises (runtime::Error) when its design has no
// tests by strata. Runs the permutation tests after "Permute": O(nperm m p),
// beside the calling thread, with their progress in a monitor from `open`
// (runtime::Cancelled when the user cancels there).
permutation::StrataResults strata_results(const shell::AnalysisSnapshot& analysis,
                                          const runtime::ProgressOpener& open = {},
                                          models::SsType type = models::SsType::kIII);

class StrataView : public QWidget {
 public:
  // Long runs show their progress in monitors from `open` (none: nothing shows).
  explicit StrataView(runtime::ProgressOpener open = {}, QWidget* parent = nullptr);
  // Shows the tests for `analysis`, or why there are none.
  void show_analysis(const std::shared_ptr<const shell::AnalysisSnapshot>& analysis);
  // Runs the tests on the loaded study on their own (its own superimposition,
  // `nperm_text` relabellings under `settings`), for a study without an
  // analysis, such as one whose unequal cells the specified analyses refuse.
  // `specimen_ids` (from a sheet; may be empty) name the specimens left out.
  void show_study(const runtime::Session& s, const permutation::PermuteSettings& settings,
                  const std::string& nperm_text, const std::vector<std::string>& specimen_ids = {});
  QPlainTextEdit* text() const { return text_; }
  // The type of the sums of squares chosen in the view (type III at first);
  // `changed` is called when the user picks another, to run the tests again.
  models::SsType ss_type() const;
  void set_ss_type(models::SsType type);
  void set_on_type_changed(std::function<void()> changed) { on_type_changed_ = std::move(changed); }
  // The tests shown (none: no analysis, or a design without them), for
  // Save results.
  const std::optional<permutation::StrataResults>& results() const { return results_; }
  const std::shared_ptr<const shell::AnalysisSnapshot>& analysis() const { return analysis_; }

 private:
  void show_text(const permutation::StrataResults& results);

  runtime::ProgressOpener open_;
  QComboBox* ss_type_;
  std::function<void()> on_type_changed_;
  QPlainTextEdit* text_;
  std::optional<permutation::StrataResults> results_;
  std::shared_ptr<const shell::AnalysisSnapshot> analysis_;
};

}  // namespace lumivar::gui
