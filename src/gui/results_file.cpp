#include "gui/results_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include "results/json_output.h"
#include "results/provenance.h"
#include "results/results_csv.h"
#include "results/strata_forms.h"
#include "results/tidy_table.h"

namespace lumivar::gui {

namespace {

const char* const kTextFilter = "Text, as shown (*.txt)";
const char* const kCsvFilter = "CSV, one row per effect (*.csv)";
const char* const kJsonFilter = "JSON with provenance (*.json)";

std::string json(const shell::AnalysisSnapshot& a, const std::string& date,
                 const permutation::StrataResults* strata) {
  const results::Maker maker{"lumivar", date};
  const std::vector<results::InputFile> inputs = results::loaded_inputs(a.sources);
  nlohmann::json j;
  if (a.kind == shell::AnalysisKind::kPermute) {
    j = results::permute_json(a.partition, a.permutation);
    j["provenance"] = results::provenance_json(inputs, &a.permutation, maker);
  } else {
    j = results::varexp_json(a.partition);
    j["provenance"] = results::provenance_json(inputs, nullptr, maker);
  }
  if (strata != nullptr) j["strata"] = results::strata_json(*strata);
  const bool permuted = a.kind == shell::AnalysisKind::kPermute;
  j["table"] = results::tidy_json(results::tidy_rows(a.partition, permuted ? &a.permutation : nullptr, strata));
  return results::json_text(j) + "\n";
}

}  // namespace

QString results_filters() {
  return QStringList{kTextFilter, kCsvFilter, kJsonFilter}.join(
      QStringLiteral(";;"));
}

ResultsFormat results_format(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("csv")) return ResultsFormat::kCsv;
  if (suffix == QLatin1String("json")) return ResultsFormat::kJson;
  return ResultsFormat::kText;
}

QString with_extension(const QString& path, const QString& selected_filter) {
  if (!QFileInfo(path).suffix().isEmpty()) return path;
  if (selected_filter == QLatin1String(kCsvFilter)) return path + QStringLiteral(".csv");
  if (selected_filter == QLatin1String(kJsonFilter)) return path + QStringLiteral(".json");
  return path + QStringLiteral(".txt");
}

std::string results_content(ResultsFormat format, const shell::AnalysisSnapshot& a,
                            const std::string& resbox, const std::string& date,
                            const permutation::StrataResults* strata) {
  switch (format) {
    case ResultsFormat::kText:
      return (strata != nullptr ? results::with_strata_text(resbox, *strata) : resbox) + "\n";
    case ResultsFormat::kCsv:
      return a.kind == shell::AnalysisKind::kPermute
                 ? results::permute_csv(a.partition, a.permutation.p_perm_f, a.permutation.p_perm_ss)
                 : results::varexp_csv(a.partition);
    case ResultsFormat::kJson: break;
  }
  return json(a, date, strata);
}

QString write_file(const QString& path, const std::string& contents) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  if (file.write(contents.data(), static_cast<qint64>(contents.size())) !=
      static_cast<qint64>(contents.size()))
    return file.errorString();
  if (!file.commit()) return file.errorString();
  return {};
}

}  // namespace lumivar::gui
