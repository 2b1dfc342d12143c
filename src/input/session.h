#pragma once
// The session: the ten values kept between commands. All start as empty
// matrices, live until the program exits, and change only when an action
// stores into them; nothing resets them as a group. The dispatcher owns the
// one session of the program and passes it by reference to the actions.
#include <string>

#include "runtime/matrix.h"

namespace lumivar::runtime {

// Where one loaded input came from: the path it was read from and the
// SHA-256 of the bytes read (the same read that gave the values, so the
// digest names exactly what was analysed). Empty until that input is loaded.
struct InputSource {
  std::string path;
  std::string sha256;
};

// The sources of the loaded inputs, stored by the load action that stores
// the values read from them, at the same step.
struct InputSources {
  InputSource data;    // the landmark file of `data`
  InputSource reps;    // the repeated-measures code file of `repgroup`
  InputSource groups;  // the group code file of `group`
};

struct Session {
  Matrix data;           // landmark data, one row per specimen and measurement
  Matrix repgroup;       // repeated-measures codes as read
  Matrix group;          // group codes as read: column 1 G1, column 2 G2
  Matrix nfound;         // number of distinct repeated-measures codes
  Matrix repgroupcode;   // distinct repeated-measures codes, ascending
  Matrix repgroupcount;  // rows carrying each of those codes
  Matrix nrep;           // levels of the repeated measure T
  Matrix n1g;            // distinct codes in column 1 of group
  Matrix n2g;            // distinct codes in column 2 of group
  Matrix dmatrix;        // squared Procrustes distances, rebuilt by every analysis

  // Beside the ten values: where the loaded inputs came from, and the
  // coordinates per landmark of `data` (2 or 3), set by the landmark load.
  InputSources sources;
  int dimensions = 2;
};

}  // namespace lumivar::runtime
