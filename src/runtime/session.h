#pragma once
// The session: the ten values kept between commands. All start as empty
// matrices, live until the program exits, and change only when an action
// stores into them; nothing resets them as a group. The dispatcher owns the
// one session of the program and passes it by reference to the actions.
#include <string>

#include "runtime/matrix.h"

namespace lumivar::runtime {

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

  // Beside the ten values: the names of the files `repgroup` and `group`
  // were read from, so that the analyses can name the file and line of a bad
  // code. Stored by the load actions; empty when the codes came otherwise.
  std::string repgroup_file, group_file;
};

}  // namespace lumivar::runtime
