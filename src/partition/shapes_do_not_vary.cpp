#include "partition/shapes_do_not_vary.h"

namespace lumivar::partition {

bool warn_if_shapes_do_not_vary(runtime::WindowRuntime& ui, const Partition& p) {
  if (p.sstotal != 0) return false;
  ui.message_box(kShapesDoNotVaryText, kShapesDoNotVaryTitle);
  return true;
}

}  // namespace lumivar::partition
