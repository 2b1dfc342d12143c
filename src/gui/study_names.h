#pragma once
// The words of an imported study's sheet (male, female; rat12) for the
// codes and specimens the analyses number, so that pictures speak the
// study's own language after File > Import study.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "study/build_study.h"

namespace lumivar::gui {

struct StudyNames {
  std::string landmarks;  // the landmark file the names belong to
  // Per grouping (G1, G2, T): the sheet's word for each code; a coding whose
  // numbers are their own codes has none.
  std::array<std::map<double, std::string>, 3> codes;
  std::vector<std::string> specimens;  // specimen i: rows i and i + n (1-based)

  // The word for `code` of grouping `g`, or "" when there is none.
  std::string code_name(int g, double code) const;
  // The id of the specimen of row `row` (1-based), or "" when unknown.
  std::string specimen_of(std::size_t row) const;
};

StudyNames study_names(const study::Study& s, const std::string& landmarks_path);

}  // namespace lumivar::gui
