#include "runtime/error.h"

namespace lumivar::runtime {

void raise(const std::string& message) { throw Error(message); }

}  // namespace lumivar::runtime
