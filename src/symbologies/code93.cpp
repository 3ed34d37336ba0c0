// Code 93: 9 modules per character in three bars and three spaces, framed by a start character and
// a stop character with its termination bar. The two modulo-47 check characters C and K that
// readers expect are optional here, drawn only when the caller asks for check characters.
#include <cstddef>

#include "drawing/element_drawing.h"
#include "drawing/render_state.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr char kCharacterColours[] = "bwbwbw";
constexpr char kStartWidths[] = "111141";
constexpr char kStopColours[] = "bwbwbwb";
constexpr char kStopWidths[] = "1111411";

constexpr int kCheckModulus = 47;
constexpr int kCWeightCycle = 20;
constexpr int kKWeightCycle = 15;

// The data's rows, and room for C after them while K is computed over data and C together.
struct Code93Rows {
  int rows[kMessageCapacity];
  std::size_t count;
};

int Code93Row(char c) {
  const char key[2] = {c, '\0'};
  return LookupSymbolIndex(kCode93TableId, key);
}

void DrawCode93Row(Context& context, int row) { DrawPattern(context, kCharacterColours, Code93Table[row].pattern, DataBarOffsets(context)); }

// Draws the characters Code 93 has and collects their rows. A character without a row is neither
// drawn nor weighted, so the check characters agree with what a reader sees.
Code93Rows DrawDataCharacters(Context& context, const char* data) {
  Code93Rows found{};
  for (const char* p = data; *p != '\0' && found.count < kMessageCapacity - 1; ++p) {
    const int row = Code93Row(*p);
    if (row < 0) continue;
    DrawCode93Row(context, row);
    found.rows[found.count++] = row;
  }
  return found;
}

// Weights run 1, 2, ... from the rightmost row and start again at 1 after `weightCycle`.
int WeightedCheckValue(const int* rows, std::size_t count, int weightCycle) {
  int sum = 0;
  int weight = 1;
  for (std::size_t i = count; i-- > 0;) {
    sum = (sum + weight * rows[i]) % kCheckModulus;
    weight = weight == weightCycle ? 1 : weight + 1;
  }
  return sum;
}

// C weighs the data; K weighs the data followed by C.
void DrawCheckCharacters(Context& context, Code93Rows& data) {
  const int c = WeightedCheckValue(data.rows, data.count, kCWeightCycle);
  data.rows[data.count] = c;
  const int k = WeightedCheckValue(data.rows, data.count + 1, kKWeightCycle);
  DrawCode93Row(context, c);
  DrawCode93Row(context, k);

  context.state.humanText[0] = '\0';
  AppendText(context.state.humanText, context.state.workMessage);
  if (context.settings.checkDigitInText == 0) return;
  // A check value on a shift character prints as its key "_1".."_4".
  AppendText(context.state.humanText, Code93Table[c].key);
  AppendText(context.state.humanText, Code93Table[k].key);
}

}  // namespace

void EncodeCode93(Context& context) {
  DrawPattern(context, kCharacterColours, kStartWidths, DataBarOffsets(context));
  Code93Rows data = DrawDataCharacters(context, context.state.workMessage);
  if (context.settings.addCheckDigit != 0) DrawCheckCharacters(context, data);
  DrawPattern(context, kStopColours, kStopWidths, DataBarOffsets(context));
}

}  // namespace varnel
