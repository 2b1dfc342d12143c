#pragma once
// TPS landmark files: per specimen a block
//   LM=k            then k lines "x y", or "x y z" for three-dimensional
//                   landmarks (LM2= and LM3= say which)
//   CURVES=c        optional: c curves, each POINTS=p then p lines "x y"
//   IMAGE=name      the picture digitised; its name without folder and
//                   extension is the id when there is no ID=
//   ID=text         the id that the specimen sheet uses
//   SCALE=s         units per pixel: every coordinate is multiplied by s
//   COMMENT=text    ignored
// Keys are matched ignoring case; blank lines are ignored.
#include <string>
#include <string_view>

#include "study/landmark_file.h"

namespace lumivar::study {

// Reads a TPS file's text; `file` names it in messages. Raises on anything
// that is not a TPS block as above (naming the line), on points whose
// number of coordinates differs from the first point's, and on semilandmarks unless `options` ask for them to be
// read as landmarks, saying how many there are.
LandmarkFile parse_tps(std::string_view text, const std::string& file, const LandmarkReadOptions& options);
// The same, line by line from `in`: memory holds the entries read, not the
// file's text.
class LineSource;
LandmarkFile read_tps(LineSource& in, const std::string& file, const LandmarkReadOptions& options);

}  // namespace lumivar::study
