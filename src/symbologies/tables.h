// The constant encoding tables of every symbology and their lookup. A row's index is the
// character's value in check arithmetic, so the row orders below are part of the encodings.
#pragma once

namespace varnel {

// A keyed row: a short NUL-terminated key (usually one character) and its width pattern.
struct KeyedRow {
  const char* key;
  const char* pattern;
};

// Table ids understood by LookupSymbolIndex. 0, 1, 2, 3, 5 and 14 equal the symbology numbers of
// Codabar, Code 11, Code 128, Code 39, Code 93 and MSI, so validation can pass the symbology itself.
enum TableId : int {
  kCodabarTableId = 0,
  kCode11TableId = 1,
  kCode128SetBKeysId = 2,
  kCode39TableId = 3,
  kCode93TableId = 5,
  kMsiTableId = 14,
  kCode128SetCKeysId = 21,
  kEanSetATableId = 40,
  kEanSetBTableId = 41,
  kEanSetCTableId = 42,
  kUpcLeftTableId = 43,
  kUpcRightTableId = 44,
  kUpcEvenTableId = 45,
  kUpcOddTableId = 46,
  kTwoOfFiveTableId = 47,
};

extern const KeyedRow CodabarTable[20];
extern const KeyedRow Code11Table[11];
extern const KeyedRow Code39Table[44];
extern const KeyedRow Code93Table[47];
extern const KeyedRow MsiTable[10];
extern const KeyedRow TwoOfFiveTable[10];
extern const KeyedRow PostnetTable[10];
extern const KeyedRow PlanetTable[10];
extern const KeyedRow EanSetATable[10];
extern const KeyedRow EanSetBTable[10];
extern const KeyedRow EanSetCTable[10];
extern const KeyedRow UpcLeftTable[10];
extern const KeyedRow UpcRightTable[10];
extern const KeyedRow UpcEvenTable[10];
extern const KeyedRow UpcOddTable[10];

extern const char* const Code128SetBKeys[103];
extern const char* const Code128SetCKeys[103];
extern const char* const Code128Patterns[103];
extern const char* const Code39AsciiTable[128];
extern const char* const EanParityTable[10];
extern const char* const AddOn5ParityTable[10];
extern const char* const UpceParityTable[20];

// The index of the first row of the table whose key equals `key` byte for byte, or -1 (also for an
// unknown table id and for the empty key).
int LookupSymbolIndex(int tableId, const char* key);

}  // namespace varnel
