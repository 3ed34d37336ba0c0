#include "base/settings.h"

namespace varnel {

SymbolSettings settings{};

}  // namespace varnel
