#include "gui/permutation_settings_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "partition/sums_method.h"
#include "runtime/memory_limit.h"

namespace lumivar::gui {

using partition::SumsMethod;
using permutation::Engine;

QString sums_note(std::optional<std::size_t> rows, Engine engine, SumsMethod chosen) {
  // The way chosen by name needs no guess; only its clash with the engine.
  if (chosen == SumsMethod::kCoordinates)
    return engine == Engine::kReference
               ? QStringLiteral("The reference engine reads the distance matrix: choose \"matrix\" "
                                "or \"auto\", or the fast engine.")
               : QStringLiteral("The sums come from the coordinates, in memory that grows with the rows.");
  if (chosen == SumsMethod::kMatrix)
    return rows ? QStringLiteral("The sums come from the distance matrix of the %1 rows loaded.").arg(*rows)
                : QStringLiteral("The sums come from the distance matrix (8 bytes per pair of rows).");
  return auto_sums_note(rows, engine);
}

QString auto_sums_note(std::optional<std::size_t> rows, Engine engine) {
  if (!rows) return QStringLiteral("\"auto\" chooses once the landmark file is loaded.");
  const SumsMethod m = partition::resolve_sums_method(SumsMethod::kAuto, *rows,
                                                      runtime::available_memory_bytes(),
                                                      engine == Engine::kReference);
  return QStringLiteral("For the %1 rows loaded, \"auto\" takes %2.")
      .arg(*rows)
      .arg(m == SumsMethod::kMatrix ? QStringLiteral("the distance matrix")
                                    : QStringLiteral("the coordinates"));
}

PermutationSettingsDialog::PermutationSettingsDialog(const permutation::PermuteSettings& current,
                                                     std::optional<std::size_t> rows,
                                                     std::optional<std::uint64_t> last_seed,
                                                     QWidget* parent)
    : QDialog(parent), rows_(rows) {
  setWindowTitle(QStringLiteral("Permutation settings"));
  fresh_ = new QRadioButton(QStringLiteral("&Fresh seed each run (shown in the status bar)"), this);
  fixed_ = new QRadioButton(QStringLiteral("Fi&xed seed:"), this);
  auto* seeds = new QButtonGroup(this);
  seeds->addButton(fresh_);
  seeds->addButton(fixed_);
  seed_ = new QLineEdit(this);
  seed_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,20}")), seed_));
  seed_->setToolTip(QStringLiteral(
      "A whole number from 0 to 18446744073709551615. The batch tool's permute --seed with the "
      "same number gives the same P values."));
  const std::optional<std::uint64_t> shown = current.seed ? current.seed : last_seed;
  if (shown) seed_->setText(QString::number(*shown));
  (current.seed ? fixed_ : fresh_)->setChecked(true);

  engine_ = new QComboBox(this);
  engine_->addItem(QStringLiteral("fast (sums from the coordinates per relabelling)"),
                   static_cast<int>(Engine::kFast));
  engine_->addItem(QStringLiteral("reference (sums from the distance matrix)"),
                   static_cast<int>(Engine::kReference));
  engine_->setCurrentIndex(current.engine == Engine::kFast ? 0 : 1);

  threads_ = new QSpinBox(this);
  threads_->setRange(0, 1024);
  threads_->setSpecialValueText(QStringLiteral("all cores"));
  threads_->setValue(current.threads);

  sums_ = new QComboBox(this);
  for (SumsMethod m : {SumsMethod::kAuto, SumsMethod::kMatrix, SumsMethod::kCoordinates}) {
    const std::string_view name = partition::sums_method_name(m);
    sums_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                   static_cast<int>(m));
    if (m == current.sums) sums_->setCurrentIndex(sums_->count() - 1);
  }
  auto_note_ = new QLabel(this);
  auto_note_->setWordWrap(true);

  auto* seed_row = new QHBoxLayout;
  seed_row->addWidget(fixed_);
  seed_row->addWidget(seed_, 1);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Engine:"), engine_);
  form->addRow(QStringLiteral("&Threads:"), threads_);
  form->addRow(QStringLiteral("&Sums of squares from:"), sums_);
  form->addRow(QString(), auto_note_);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fresh_);
  layout->addLayout(seed_row);
  layout->addLayout(form);
  layout->addWidget(buttons_);

  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(fixed_, &QRadioButton::toggled, this, [this] { update(); });
  connect(seed_, &QLineEdit::textChanged, this, [this] {
    if (!seed_->text().isEmpty()) fixed_->setChecked(true);
    update();
  });
  connect(engine_, &QComboBox::currentIndexChanged, this, [this] { update(); });
  connect(sums_, &QComboBox::currentIndexChanged, this, [this] { update(); });
  update();
}

std::optional<std::uint64_t> PermutationSettingsDialog::typed_seed() const {
  bool ok = false;
  const qulonglong v = seed_->text().toULongLong(&ok);  // refuses what exceeds 64 bits
  if (!ok) return std::nullopt;
  return static_cast<std::uint64_t>(v);
}

void PermutationSettingsDialog::update() {
  const bool valid = !fixed_->isChecked() || typed_seed().has_value();
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(valid);
  const auto engine = static_cast<Engine>(engine_->currentData().toInt());
  auto_note_->setText(sums_note(rows_, engine, static_cast<SumsMethod>(sums_->currentData().toInt())));
}

void PermutationSettingsDialog::apply_to(permutation::PermuteSettings& settings) const {
  settings.seed = fixed_->isChecked() ? typed_seed() : std::nullopt;
  settings.engine = static_cast<Engine>(engine_->currentData().toInt());
  settings.threads = threads_->value();
  settings.sums = static_cast<SumsMethod>(sums_->currentData().toInt());
}

}  // namespace lumivar::gui
