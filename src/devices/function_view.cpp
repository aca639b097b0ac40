#include "devices/function_view.h"

namespace vorlin {

FunctionTabs FunctionTabsFor(int view, uint32_t kind) {
  switch (view) {
    case 2:
    case 6:
      return {0, 1};
    case 3:
    case 8:
      return {1, -1};
    case 4:
      if (kind == 1 || kind == 2) return {3, -1};
      return {0, 2};
    case 7:
      return {0, 2};
    case 5:
      return {2, -1};
    default:
      return {0, 0};
  }
}

}  // namespace vorlin
