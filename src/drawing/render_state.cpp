#include "drawing/render_state.h"

namespace varnel {

RenderState state{};

}  // namespace varnel
