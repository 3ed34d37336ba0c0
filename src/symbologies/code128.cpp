// Code 128 and the GS1 symbols built on its symbol characters (UCC/EAN-128 all-numeric, SSCC-18 and
// application identifier 01). Every symbol character is 11 modules in three bars and three spaces;
// the symbol is a start character, the data characters, the modulo-103 check character and the stop.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "drawing/element_drawing.h"
#include "drawing/render_state.h"
#include "symbologies/code128.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr char kCharacterColours[] = "bwbwbw";
constexpr char kStopColours[] = "bwbwbwb";
constexpr char kStopWidths[] = "2331112";
constexpr int kCheckModulus = 103;

// FNC4 shares its value with the switch to the set it is drawn in.
constexpr int kFnc4InSetA = 101;
constexpr int kFnc4InSetB = 100;
// Set C draws a pair of digits as its number.
constexpr int kLastPairValue = 99;

// In a Code 128 message this byte stands for FNC1.
constexpr unsigned char kFnc1Byte = 0xCA;
// Bytes from here up are drawn with the extended-ASCII convention: FNC4, then byte - 128.
constexpr unsigned char kFirstExtendedByte = 128;
constexpr unsigned char kDel = 127;

struct StartCharacter {
  int value;
  const char* widths;
};

// Indexed by CodeSet.
constexpr StartCharacter kStartCharacters[] = {{103, "211412"}, {104, "211214"}, {105, "211232"}};

bool IsDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

// ---- Code 128 with automatic code sets ------------------------------------------------------------

// A byte of the message may cost a code-set switch, an FNC4 and its character.
constexpr std::size_t kMaxValuesPerByte = 3;
constexpr std::size_t kValueCapacity = (kMessageCapacity - 1) * kMaxValuesPerByte;

// The symbol characters chosen for a message, before any is drawn.
struct Code128Plan {
  CodeSet start;
  CodeSet current;
  std::uint8_t values[kValueCapacity];
  std::size_t count;
};

struct MessageBytes {
  const unsigned char* bytes;
  std::size_t length;
};

bool DigitsAt(const MessageBytes& message, std::size_t i, std::size_t count) {
  if (i + count > message.length) return false;
  for (std::size_t k = i; k < i + count; ++k) {
    if (!IsDigit(message.bytes[k])) return false;
  }
  return true;
}

// FNC1 only where two more bytes follow; nearer the end the byte is ordinary extended data.
bool Fnc1At(const MessageBytes& message, std::size_t i) {
  return message.bytes[i] == kFnc1Byte && i + 3 <= message.length;
}

// The set that carries an ASCII byte: control bytes need A; A keeps what it can show (32..95);
// everything else goes to B, whose value 95 is DEL.
CodeSet TextSetFor(unsigned char ascii, CodeSet current) {
  if (ascii < 32) return kSetA;
  if (current == kSetA && ascii <= 95) return kSetA;
  return kSetB;
}

// Extended bytes start in the set of their ASCII part, so that no switch follows the start.
CodeSet ChooseStartSet(const MessageBytes& message) {
  if (message.length == 0) return kSetA;
  if (Fnc1At(message, 0) || DigitsAt(message, 0, 4)) return kSetC;
  const unsigned char first = message.bytes[0];
  const unsigned char ascii = first >= kFirstExtendedByte ? first - kFirstExtendedByte : first;
  return ascii < 32 ? kSetA : kSetB;
}

void Emit(Code128Plan& plan, int value) {
  if (plan.count < kValueCapacity) plan.values[plan.count++] = static_cast<std::uint8_t>(value);
}

void Enter(Code128Plan& plan, CodeSet set) {
  if (set == plan.current) return;
  Emit(plan, kCode128SwitchValues[set]);
  plan.current = set;
}

void PlanText(Code128Plan& plan, unsigned char ascii, bool extended) {
  Enter(plan, TextSetFor(ascii, plan.current));
  if (extended) Emit(plan, plan.current == kSetA ? kFnc4InSetA : kFnc4InSetB);
  Emit(plan, Code128TextValue(ascii, plan.current));
}

// Plans the characters of the byte at i and returns how many bytes they consumed. Set C is entered
// only where four digits follow and then holds every further pair; any other byte leaves it for the
// set its own character needs.
std::size_t PlanBytesAt(Code128Plan& plan, const MessageBytes& message, std::size_t i) {
  const unsigned char byte = message.bytes[i];
  if (Fnc1At(message, i)) {
    Emit(plan, kCode128Fnc1);
    return 1;
  }
  if (DigitsAt(message, i, 4) || (plan.current == kSetC && DigitsAt(message, i, 2))) {
    Enter(plan, kSetC);
    Emit(plan, 10 * DigitValue(static_cast<char>(byte)) + DigitValue(static_cast<char>(message.bytes[i + 1])));
    return 2;
  }
  if (byte == kDel) return 1;  // a DEL of the message draws nothing (byte 255 reaches set B's DEL)
  if (byte < kFirstExtendedByte) {
    PlanText(plan, byte, false);
  } else {
    PlanText(plan, static_cast<unsigned char>(byte - kFirstExtendedByte), true);
  }
  return 1;
}

void PlanCode128(const char* text, Code128Plan& plan) {
  const MessageBytes message{reinterpret_cast<const unsigned char*>(text), strnlen(text, kMessageCapacity - 1)};
  plan.start = ChooseStartSet(message);
  plan.current = plan.start;
  plan.count = 0;
  for (std::size_t i = 0; i < message.length;) i += PlanBytesAt(plan, message, i);
}

// ---- The GS1 forms: start C, FNC1, then data in digit pairs ---------------------------------------

// A pair of the data and its value, or -1 for a pair that is not two digits (or, in the
// all-numeric form, the doubled FNC1 byte that separates fields). The code-set switches that set
// C's key list also knows would change how every later pair is read, so they have none.
int PairValue(const char* pair, bool fnc1Allowed) {
  const char key[3] = {pair[0], pair[1], '\0'};
  const int value = LookupSymbolIndex(kCode128SetCKeysId, key);
  if (value >= 0 && value <= kLastPairValue) return value;
  if (value == kCode128Fnc1 && fnc1Allowed) return value;
  return -1;
}

// The pairs of a text, cut from its first byte; a lone last byte is a pair of its own.
template <typename EachPair>
void ForEachPair(const char* text, EachPair each) {
  for (const char* pair = text; *pair != '\0'; pair += pair[1] != '\0' ? 2 : 1) each(pair);
}

// Validation refuses data with a pair that has no value, so every pair is drawn; one that reached
// here without it would draw nothing rather than a character of another value.
void DrawPairs(Context& context, Code128Symbol& symbol, const char* text, bool fnc1Allowed) {
  ForEachPair(text, [&](const char* pair) {
    const int value = PairValue(pair, fnc1Allowed);
    if (value >= 0) DrawCode128Character(context, symbol, value);
  });
}

Code128Symbol DrawGs1Start(Context& context) {
  Code128Symbol symbol = DrawCode128Start(context, kSetC);
  DrawCode128Character(context, symbol, kCode128Fnc1);
  return symbol;
}

// SSCC-18 and AI 01: FNC1, the application identifier and the data in digit pairs, printed with the
// identifier in front.
void EncodeWithIdentifier(Context& context, const char* identifier, const char* printedIdentifier) {
  context.state.humanText[0] = '\0';
  AppendText(context.state.humanText, printedIdentifier);
  AppendText(context.state.humanText, context.state.workMessage);

  Code128Symbol symbol = DrawGs1Start(context);
  DrawPairs(context, symbol, identifier, false);
  DrawPairs(context, symbol, context.state.workMessage, false);
  if (context.settings.addCheckDigit != 0) DrawCode128Check(context, symbol);
  DrawCode128Stop(context);
}

}  // namespace

PairedData PadToPairs(const char* data) {
  PairedData paired{};
  if (strnlen(data, kMessageCapacity - 1) % 2 != 0) AppendChar(paired.text, '0');
  AppendText(paired.text, data);
  return paired;
}

bool EveryPairDrawn(const char* pairs, bool fnc1Allowed) {
  bool drawn = true;
  ForEachPair(pairs, [&](const char* pair) { drawn = drawn && PairValue(pair, fnc1Allowed) >= 0; });
  return drawn;
}

void DrawCode128Value(Context& context, int value) { DrawPattern(context, kCharacterColours, Code128Patterns[value], DataBarOffsets(context)); }

Code128Symbol DrawCode128Start(Context& context, CodeSet set) {
  const StartCharacter start = kStartCharacters[set];
  DrawPattern(context, kCharacterColours, start.widths, DataBarOffsets(context));
  return {start.value % kCheckModulus, 1};
}

void DrawCode128Character(Context& context, Code128Symbol& symbol, int value) {
  DrawCode128Value(context, value);
  symbol.checkSum = static_cast<int>((std::int64_t{symbol.nextPosition} * value + symbol.checkSum) % kCheckModulus);
  ++symbol.nextPosition;
}

void DrawCode128Check(Context& context, const Code128Symbol& symbol) { DrawCode128Value(context, symbol.checkSum); }

void DrawCode128Stop(Context& context) { DrawPattern(context, kStopColours, kStopWidths, DataBarOffsets(context)); }

int Code128TextValue(unsigned char ascii, CodeSet set) {
  if (set == kSetA && ascii < 32) return ascii + 64;
  return ascii - 32;
}

void EncodeCode128(Context& context) {
  Code128Plan plan;
  PlanCode128(context.state.workMessage, plan);
  Code128Symbol symbol = DrawCode128Start(context, plan.start);
  for (std::size_t k = 0; k < plan.count; ++k) DrawCode128Character(context, symbol, plan.values[k]);
  DrawCode128Check(context, symbol);
  DrawCode128Stop(context);
}

void EncodeUccEan128(Context& context) {
  // Pairs need an even number of digits: an odd count gets a leading zero, in the bars and the text.
  const PairedData data = PadToPairs(context.state.workMessage);
  context.state.humanText[0] = '\0';
  AppendText(context.state.humanText, data.text);

  Code128Symbol symbol = DrawGs1Start(context);
  DrawPairs(context, symbol, data.text, true);
  DrawCode128Check(context, symbol);
  DrawCode128Stop(context);
}

void EncodeSscc18(Context& context) { EncodeWithIdentifier(context, "00", "(00)"); }

void EncodeUccEan128Ai01(Context& context) { EncodeWithIdentifier(context, "01", "01"); }

}  // namespace varnel
