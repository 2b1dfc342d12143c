#include "gui/dropped_files.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "runtime/numbers.h"

namespace lumivar::gui {

namespace {

// Enough lines to pass a header or a few blank lines; a study file whose
// first numbers lie further down is asked about.
constexpr int kLinesLooked = 8;

const std::array<std::pair<FileKind, const char*>, 3> kKinds = {{
    {FileKind::kLandmarks, "Landmarks"},
    {FileKind::kMeasurementCodes, "Measurement codes"},
    {FileKind::kGroupCodes, "Group codes"},
}};

}  // namespace

std::optional<FileKind> kind_from_contents(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  for (int i = 0; i < kLinesLooked && !file.atEnd(); ++i) {
    const QByteArray line = file.readLine(1 << 20).trimmed();
    if (line.isEmpty()) continue;
    const runtime::NumberRow row = runtime::parse_number_row(std::string_view(line.data(), line.size()));
    if (!row.ok() || row.decimal_comma || row.values.empty()) continue;  // a header, say
    const std::size_t n = row.values.size();
    if (n == 1) return FileKind::kMeasurementCodes;
    if (n == 2) return FileKind::kGroupCodes;
    if (n >= 5 && n % 2 == 1) return FileKind::kLandmarks;
    return std::nullopt;
  }
  return std::nullopt;
}

std::vector<DroppedFile> classify(const QStringList& paths) {
  std::vector<DroppedFile> files;
  for (const QString& p : paths) files.push_back({p, kind_from_contents(p)});
  return files;
}

bool kinds_are_clear(const std::vector<DroppedFile>& files) {
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!files[i].kind) return false;
    for (std::size_t j = 0; j < i; ++j)
      if (files[j].kind == files[i].kind) return false;
  }
  return !files.empty();
}

std::vector<DroppedFile> in_load_order(const std::vector<DroppedFile>& files) {
  std::vector<DroppedFile> order;
  for (const auto& [kind, name] : kKinds)
    for (const DroppedFile& f : files)
      if (f.kind == kind) order.push_back(f);
  return order;
}

DroppedFilesDialog::DroppedFilesDialog(const std::vector<DroppedFile>& files, QWidget* parent)
    : QDialog(parent), files_(files) {
  setWindowTitle(QStringLiteral("Load dropped files"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Which file of the study is each one?"), this));
  auto* form = new QFormLayout;
  for (const DroppedFile& f : files_) {
    auto* box = new QComboBox(this);
    for (const auto& [kind, name] : kKinds) box->addItem(QString::fromLatin1(name), static_cast<int>(kind));
    box->addItem(QStringLiteral("Do not load"), -1);
    box->setCurrentIndex(f.kind ? box->findData(static_cast<int>(*f.kind)) : box->count() - 1);
    auto* label = new QLabel(QFileInfo(f.path).fileName(), this);
    label->setToolTip(f.path);
    form->addRow(label, box);
    choosers_.push_back(box);
    connect(box, &QComboBox::currentIndexChanged, this, [this] { update_ok(); });
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  update_ok();
}

std::vector<DroppedFile> DroppedFilesDialog::files() const {
  std::vector<DroppedFile> chosen = files_;
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    const int chosen_kind = choosers_[i]->currentData().toInt();
    chosen[i].kind = chosen_kind < 0 ? std::nullopt : std::optional<FileKind>(static_cast<FileKind>(chosen_kind));
  }
  return chosen;
}

void DroppedFilesDialog::update_ok() {
  std::vector<DroppedFile> chosen = files();
  std::erase_if(chosen, [](const DroppedFile& f) { return !f.kind; });
  ok_->setEnabled(kinds_are_clear(chosen));
}

}  // namespace lumivar::gui
