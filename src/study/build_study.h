#pragma once
// Builds the three inputs of the analyses from a landmark file and a
// specimen sheet, in the row order the analyses rely on:
//   - specimens in the order of their first line in the sheet;
//   - the one or two measurement values sorted, numbers numerically and
//     words alphabetically;
//   - rows 1 ... n the specimens at the first measurement, rows n+1 ... 2n
//     the same specimens in the same order at the second; with two
//     measurement values, a specimen with a line at only one of them is
//     measured once: such specimens come last, one row each after row 2n;
//   - each row's trailing value the specimen's ordinal (1 ... n);
//   - one line of G1 and G2 codes per specimen (value_coding.h).
// Cost: O(rows * (landmarks + distinct values)).
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/matrix.h"
#include "study/landmark_file.h"
#include "study/specimen_sheet.h"
#include "study/value_coding.h"

namespace lumivar::study {

struct Study {
  runtime::Matrix data;      // rows as above; d k + 1 columns
  int dimensions = 2;        // d: coordinates per landmark (2 or 3), as the file holds them
  runtime::Matrix repgroup;  // the measurement code of every row
  runtime::Matrix group;     // one row per specimen: G1 code, G2 code
  std::vector<std::string> specimens;     // specimen i is rows i and i + n (or row 2n + i - n when measured once)
  std::vector<std::string> measured_once;  // the last of `specimens`, one row each
  std::vector<std::string> measurements;  // as first written, in row order
  std::size_t landmarks = 0;
  ValueCoding measurement, g1, g2;
};

// Raises one Error listing every problem found (the first 20, then how many
// more): an id of either file missing from the other, an id given twice, a
// sheet line with an empty cell, more than two measurement values, a
// specimen with more than one line at a measurement value (with two values,
// a line at only one of them is a specimen measured once), a specimen whose
// G1 or G2 differs between its lines, an entry whose landmark count differs
// from the first entry's.
Study build_study(const LandmarkFile& landmarks, const SpecimenSheet& sheet);

// The refusal message for `problems` about the study from the two files.
std::string refusal_message(const std::string& landmarks, const std::string& sheet,
                            const std::vector<std::string>& problems);

}  // namespace lumivar::study
