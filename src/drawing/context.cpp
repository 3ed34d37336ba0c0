#include "drawing/context.h"

namespace varnel {

Context& DefaultContext() {
  static Context context;
  return context;
}

}  // namespace varnel
