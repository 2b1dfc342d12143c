#include "gui/app_settings.h"

#include <algorithm>
#include <string>

#include "partition/sums_method.h"
#include "results/json_output.h"

namespace lumivar::gui {

namespace {

QString folder_key(FileKind kind) {
  switch (kind) {
    case FileKind::kLandmarks: return QStringLiteral("folders/landmarks");
    case FileKind::kMeasurementCodes: return QStringLiteral("folders/measurement_codes");
    case FileKind::kGroupCodes: return QStringLiteral("folders/group_codes");
    case FileKind::kResults: break;
  }
  return QStringLiteral("folders/results");
}

}  // namespace

AppSettings::AppSettings()
    : AppSettings(std::make_unique<QSettings>(QStringLiteral("Lumivar"), QStringLiteral("Lumivar"))) {}

AppSettings::AppSettings(std::unique_ptr<QSettings> store) : store_(std::move(store)) {}

std::optional<QRect> AppSettings::window_geometry() const {
  const QRect r = store_->value(QStringLiteral("window/geometry")).toRect();
  if (!r.isValid()) return std::nullopt;
  return r;
}

void AppSettings::set_window_geometry(const QRect& r) {
  store_->setValue(QStringLiteral("window/geometry"), r);
}

QString AppSettings::last_folder(FileKind kind) const {
  return store_->value(folder_key(kind)).toString();
}

void AppSettings::set_last_folder(FileKind kind, const QString& folder) {
  store_->setValue(folder_key(kind), folder);
}

std::vector<RecentStudy> AppSettings::recent_studies() const {
  std::vector<RecentStudy> out;
  const int n = store_->beginReadArray(QStringLiteral("recent"));
  for (int i = 0; i < n; ++i) {
    store_->setArrayIndex(i);
    RecentStudy s{store_->value(QStringLiteral("landmarks")).toString(),
                  store_->value(QStringLiteral("codes")).toString(),
                  store_->value(QStringLiteral("groups")).toString(),
                  store_->value(QStringLiteral("imported"), false).toBool(),
                  store_->value(QStringLiteral("columns")).toString()};
    if (!s.landmarks.isEmpty() && !s.codes.isEmpty() && !s.groups.isEmpty()) out.push_back(s);
  }
  store_->endArray();
  return out;
}

void AppSettings::write_recent(const std::vector<RecentStudy>& list) {
  store_->remove(QStringLiteral("recent"));
  store_->beginWriteArray(QStringLiteral("recent"), static_cast<int>(list.size()));
  for (int i = 0; i < static_cast<int>(list.size()); ++i) {
    store_->setArrayIndex(i);
    store_->setValue(QStringLiteral("landmarks"), list[i].landmarks);
    store_->setValue(QStringLiteral("codes"), list[i].codes);
    store_->setValue(QStringLiteral("groups"), list[i].groups);
    if (list[i].imported) {
      store_->setValue(QStringLiteral("imported"), true);
      store_->setValue(QStringLiteral("columns"), list[i].columns);
    }
  }
  store_->endArray();
}

void AppSettings::add_recent_study(const RecentStudy& s) {
  std::vector<RecentStudy> list = recent_studies();
  std::erase(list, s);
  list.insert(list.begin(), s);
  if (list.size() > kMaxRecent) list.resize(kMaxRecent);
  write_recent(list);
}

void AppSettings::remove_recent_study(const RecentStudy& s) {
  std::vector<RecentStudy> list = recent_studies();
  std::erase(list, s);
  write_recent(list);
}

QString AppSettings::import_columns() const {
  return store_->value(QStringLiteral("import/columns")).toString();
}

void AppSettings::set_import_columns(const QString& columns) {
  store_->setValue(QStringLiteral("import/columns"), columns);
}

void AppSettings::read_permute_settings(permutation::PermuteSettings& settings) const {
  store_->beginGroup(QStringLiteral("permutation"));
  bool ok = false;
  const qulonglong seed = store_->value(QStringLiteral("seed")).toULongLong(&ok);
  if (store_->value(QStringLiteral("fixed_seed")).toBool() && ok) settings.seed = seed;
  const QString engine = store_->value(QStringLiteral("engine")).toString();
  for (permutation::Engine e : {permutation::Engine::kFast, permutation::Engine::kReference})
    if (engine == QLatin1String(results::engine_name(e))) settings.engine = e;
  const int threads = store_->value(QStringLiteral("threads"), 0).toInt(&ok);
  if (ok && threads >= 0) settings.threads = threads;
  const std::string sums = store_->value(QStringLiteral("sums")).toString().toStdString();
  if (const auto method = partition::parse_sums_method(sums)) settings.sums = *method;
  store_->endGroup();
}

void AppSettings::write_permute_settings(const permutation::PermuteSettings& settings) {
  store_->beginGroup(QStringLiteral("permutation"));
  store_->setValue(QStringLiteral("fixed_seed"), settings.seed.has_value());
  if (settings.seed) store_->setValue(QStringLiteral("seed"), QString::number(*settings.seed));
  store_->setValue(QStringLiteral("engine"), QString::fromLatin1(results::engine_name(settings.engine)));
  store_->setValue(QStringLiteral("threads"), settings.threads);
  const std::string_view sums = partition::sums_method_name(settings.sums);
  store_->setValue(QStringLiteral("sums"), QString::fromUtf8(sums.data(), static_cast<qsizetype>(sums.size())));
  store_->endGroup();
}

}  // namespace lumivar::gui
