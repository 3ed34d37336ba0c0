#include "symbologies/discrete_characters.h"

#include "drawing/element_drawing.h"
#include "drawing/render_state.h"
#include "symbologies/tables.h"

namespace varnel {

int LookupCharacterRow(int tableId, char c) {
  const char key[2] = {c, '\0'};
  return LookupSymbolIndex(tableId, key);
}

void DrawCharacterAndGap(Context& context, const char* colours, const char* widths) {
  const BarOffsets offsets = DataBarOffsets(context);
  DrawPattern(context, colours, widths, offsets);
  DrawElement(context, context.state.narrowWidth, offsets.top, offsets.bottom, 0);
}

}  // namespace varnel
