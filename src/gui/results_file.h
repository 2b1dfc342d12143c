#pragma once
// Save results…: the last analysis as a file, in one of three forms chosen
// by the file's extension: text (exactly what the results box shows, with a
// final line break, as the batch tool prints it), CSV (results/results_csv.h)
// or JSON (the batch tool's form, with the provenance block naming this
// program, the run and the three input files with their SHA-256).
#include <QString>
#include <string>

#include "permutation/strata_report.h"
#include "shell/analysis_snapshot.h"

namespace lumivar::gui {

enum class ResultsFormat { kText, kCsv, kJson };

// The filters of the save dialog, text first.
QString results_filters();
// ".csv" and ".json" (any case) choose those forms; any other name is text.
ResultsFormat results_format(const QString& path);
// `path` with the extension of the filter picked when it has none of its own.
QString with_extension(const QString& path, const QString& selected_filter);

// The file's contents. `resbox` is the text of the results box; `date` the
// ISO 8601 time of saving (JSON only); `strata`, when given, the tests by
// strata of the same analysis, added as the batch tool's --strata adds them
// (text and JSON; the CSV keeps to the one table).
std::string results_content(ResultsFormat format, const shell::AnalysisSnapshot& analysis,
                            const std::string& resbox, const std::string& date,
                            const permutation::StrataResults* strata = nullptr);

// Writes `contents` to `path` whole or not at all; the error text on failure,
// "" on success.
QString write_file(const QString& path, const std::string& contents);

}  // namespace lumivar::gui
