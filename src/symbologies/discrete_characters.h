// Steps shared by the discrete symbologies, whose characters stand apart, separated by a narrow gap.
#pragma once

#include "drawing/context.h"

namespace varnel {

// The row of a one-character key in a keyed table, or -1 when the table lacks it (a zero byte
// included).
int LookupCharacterRow(int tableId, char c);

// One character in data-bar offsets, then the narrow gap that separates it from the next.
void DrawCharacterAndGap(Context& context, const char* colours, const char* widths);

}  // namespace varnel
