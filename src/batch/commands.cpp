#include "batch/commands.h"

#include <ostream>

#include "batch/json_output.h"
#include "partition/varexp.h"

namespace lumivar::batch {

namespace detail {

void print_status(const BatchSession& b, const CommandLine& o, std::ostream& s) {
  s << b.box_text("FileBox") << '\n';
  if (o.inputs.reps) s << b.box_text("RepBox") << '\n';
  if (o.inputs.groups) s << b.box_text("GroupBox") << '\n';
}

int run_varexp(BatchSession& b, const CommandLine& o, std::ostream& out) {
  const partition::Partition p = partition::varexp(b.ui, b.app.session);
  if (o.format == "json") {
    out << varexp_json(p).dump(2) << '\n';
  } else {
    out << b.box_text("ResBox") << '\n';
  }
  return 0;
}

}  // namespace detail

int run(Command command, const CommandLine& o, std::ostream& out, std::ostream& err) {
  try {
    BatchSession b(err);
    b.load(o.inputs);
    switch (command) {
      case Command::kLoad:
        detail::print_status(b, o, out);
        return 0;
      case Command::kVarExp:
        detail::print_status(b, o, err);
        return detail::run_varexp(b, o, out);
      case Command::kPermute:
        detail::print_status(b, o, err);
        return run_permute(b, o, out, err);
    }
  } catch (const std::exception& e) {
    err << "lumivar-batch: " << e.what() << '\n';
  }
  return 1;
}

}  // namespace lumivar::batch
