// Code 39 and its full-ASCII extension: nine elements per character, three of them wide, each
// character followed by a narrow inter-character gap, framed by '*' start and stop characters.

#include "drawing/element_drawing.h"
#include "base/int_math.h"
#include "drawing/render_state.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr char kCode39Colours[] = "bwbwbwbwb";
constexpr int kCode39CheckModulus = 43;

int Code39Row(char c) {
  const char key[2] = {c, '\0'};
  return LookupSymbolIndex(kCode39TableId, key);
}

}  // namespace

// Draws one character of Code39Table and the gap after it.
void DrawCode39Char(Context& context, int row) {
  DrawPattern(context, kCode39Colours, Code39Table[row].pattern, DataBarOffsets(context));
  context.state.cursor = SaturatingAdd(context.state.cursor, context.state.narrowWidth);
}

namespace {

void DrawStartCharacter(Context& context) { DrawCode39Char(context, Code39Row('*')); }

void DrawStopCharacter(Context& context) { DrawPattern(context, kCode39Colours, Code39Table[Code39Row('*')].pattern, DataBarOffsets(context)); }

// Draws a character if Code 39 has it and returns its check value; a character it lacks is
// skipped and adds nothing.
int DrawCheckedCharacter(Context& context, char c) {
  const int row = Code39Row(c);
  if (row < 0) return 0;
  DrawCode39Char(context, row);
  return row;
}

// The optional modulo-43 check character; every walk goes over it so that the measured length
// includes it, and only the drawing walk prints it.
void DrawCheckCharacter(Context& context, unsigned checkSum) {
  if (context.settings.addCheckDigit == 0) return;
  const int row = static_cast<int>(checkSum % kCode39CheckModulus);
  DrawCode39Char(context, row);
  if (context.state.walk.draws && context.settings.checkDigitInText != 0) AppendText(context.state.humanText, Code39Table[row].key);
}

// The printed form of full-ASCII data: control characters other than tab and carriage return
// (which print as a space) are left out; everything from the space up is printed as it is.
void BuildFullAsciiText(Context& context) {
  context.state.humanText[0] = '\0';
  if (!context.state.walk.draws) return;
  std::size_t length = 0;
  for (const char* p = context.state.workMessage; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte >= 32) {
      context.state.humanText[length++] = *p;
    } else if (byte == '\t' || byte == '\r') {
      context.state.humanText[length++] = ' ';
    }
  }
  context.state.humanText[length] = '\0';
}

}  // namespace

void EncodeCode39(Context& context) {
  DrawStartCharacter(context);
  unsigned checkSum = 0;
  for (const char* p = context.state.workMessage; *p != '\0'; ++p) checkSum += static_cast<unsigned>(DrawCheckedCharacter(context, *p));
  context.state.humanText[0] = '\0';
  AppendText(context.state.humanText, context.state.workMessage);
  DrawCheckCharacter(context, checkSum);
  DrawStopCharacter(context);
}

void EncodeCode39Ascii(Context& context) {
  DrawStartCharacter(context);
  unsigned checkSum = 0;
  for (const char* p = context.state.workMessage; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte >= 128) continue;  // full ASCII has no sequence for these bytes
    for (const char* c = Code39AsciiTable[byte]; *c != '\0'; ++c) checkSum += static_cast<unsigned>(DrawCheckedCharacter(context, *c));
  }
  BuildFullAsciiText(context);
  DrawCheckCharacter(context, checkSum);
  DrawStopCharacter(context);
}

}  // namespace varnel
