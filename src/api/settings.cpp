#include "api/settings.h"

namespace varnel {

SymbolSettings settings{};

}  // namespace varnel
