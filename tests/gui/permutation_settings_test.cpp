// The note under the sums' choice in the permutation settings follows the
// way chosen: what "auto" would take, or what the named way means, and the
// reference engine's need of the matrix.
#include "gui/permutation_settings_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

namespace lumivar::gui {
namespace {

using partition::SumsMethod;
using permutation::Engine;

TEST(PermutationSettings, TheNoteFollowsTheSumsChosen) {
  permutation::PermuteSettings current;
  PermutationSettingsDialog d(current, 80, std::nullopt, nullptr);
  QComboBox* sums_box = nullptr;
  for (QComboBox* box : d.findChildren<QComboBox*>())
    if (box->findData(static_cast<int>(SumsMethod::kCoordinates)) >= 0 && box->count() == 3) sums_box = box;
  ASSERT_NE(sums_box, nullptr);
  EXPECT_EQ(d.auto_note()->text(), auto_sums_note(80, Engine::kFast));
  sums_box->setCurrentIndex(sums_box->findData(static_cast<int>(SumsMethod::kCoordinates)));
  EXPECT_EQ(d.auto_note()->text(), sums_note(80, Engine::kFast, SumsMethod::kCoordinates));
  EXPECT_TRUE(d.auto_note()->text().contains(QStringLiteral("coordinates")));
  sums_box->setCurrentIndex(sums_box->findData(static_cast<int>(SumsMethod::kMatrix)));
  EXPECT_TRUE(d.auto_note()->text().contains(QStringLiteral("distance matrix of the 80 rows")));

  // The reference engine cannot take its sums from the coordinates: said.
  EXPECT_TRUE(sums_note(80, Engine::kReference, SumsMethod::kCoordinates).contains(QStringLiteral("reference engine")));
  EXPECT_FALSE(sums_note(80, Engine::kFast, SumsMethod::kCoordinates).contains(QStringLiteral("reference engine")));
  EXPECT_EQ(sums_note(std::nullopt, Engine::kFast, SumsMethod::kAuto), auto_sums_note(std::nullopt, Engine::kFast));
}

}  // namespace
}  // namespace lumivar::gui
