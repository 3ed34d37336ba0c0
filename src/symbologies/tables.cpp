#include "symbologies/tables.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <type_traits>

namespace varnel {

// Every table is constexpr so that it is built into the image at compile time and shared by all
// renders without initialisation order concerns. Each definition follows the header's `extern const`
// declaration, so it keeps external linkage.
//
// Width patterns list elements in drawing order; the encoder pairs them with a colour string that
// decides which elements are bars. 'n'/'w' are narrow/wide, digits are widths in modules.

// Codabar: 4 bars and 3 spaces, bar first. The row order is the one validation and the encoder share;
// Codabar has no check arithmetic, so the order carries no further meaning.
constexpr KeyedRow CodabarTable[20] = {
    {"0", "nnnnnww"}, {"1", "nnnnwwn"}, {"2", "nnnwnnw"}, {"3", "wwnnnnn"}, {"4", "nnwnnwn"},
    {"5", "wnnnnwn"}, {"6", "nwnnnnw"}, {"7", "nwnnwnn"}, {"8", "nwwnnnn"}, {"9", "wnnwnnn"},
    {"-", "nnnwwnn"}, {"$", "nnwwnnn"}, {":", "wnnnwnw"}, {"/", "wnwnnnw"}, {".", "wnwnwnn"},
    {"+", "nnwnwnw"}, {"A", "nnwwnwn"}, {"B", "nwnwnnw"}, {"C", "nnnwnww"}, {"D", "nnnwwwn"},
};

// Code 11: 3 bars and 2 spaces, bar first. Row = the character's value in the C and K checks, which
// is why '-' (value 10) comes last.
constexpr KeyedRow Code11Table[11] = {
    {"0", "nnnnw"}, {"1", "wnnnw"}, {"2", "nwnnw"}, {"3", "wwnnn"}, {"4", "nnwnw"}, {"5", "wnwnn"},
    {"6", "nwwnn"}, {"7", "nnnww"}, {"8", "wnnwn"}, {"9", "wnnnn"}, {"-", "nnwnn"},
};

// Code 39: 5 bars and 4 spaces, bar first, always exactly three wide. Rows 0..42 are in modulo-43
// check-value order; the start/stop '*' sits after them at row 43 so that no check value reaches it.
constexpr KeyedRow Code39Table[44] = {
    {"0", "nnnwwnwnn"}, {"1", "wnnwnnnnw"}, {"2", "nnwwnnnnw"}, {"3", "wnwwnnnnn"},
    {"4", "nnnwwnnnw"}, {"5", "wnnwwnnnn"}, {"6", "nnwwwnnnn"}, {"7", "nnnwnnwnw"},
    {"8", "wnnwnnwnn"}, {"9", "nnwwnnwnn"}, {"A", "wnnnnwnnw"}, {"B", "nnwnnwnnw"},
    {"C", "wnwnnwnnn"}, {"D", "nnnnwwnnw"}, {"E", "wnnnwwnnn"}, {"F", "nnwnwwnnn"},
    {"G", "nnnnnwwnw"}, {"H", "wnnnnwwnn"}, {"I", "nnwnnwwnn"}, {"J", "nnnnwwwnn"},
    {"K", "wnnnnnnww"}, {"L", "nnwnnnnww"}, {"M", "wnwnnnnwn"}, {"N", "nnnnwnnww"},
    {"O", "wnnnwnnwn"}, {"P", "nnwnwnnwn"}, {"Q", "nnnnnnwww"}, {"R", "wnnnnnwwn"},
    {"S", "nnwnnnwwn"}, {"T", "nnnnwnwwn"}, {"U", "wwnnnnnnw"}, {"V", "nwwnnnnnw"},
    {"W", "wwwnnnnnn"}, {"X", "nwnnwnnnw"}, {"Y", "wwnnwnnnn"}, {"Z", "nwwnwnnnn"},
    {"-", "nwnnnnwnw"}, {".", "wwnnnnwnn"}, {" ", "nwwnnnwnn"}, {"$", "nwnwnwnnn"},
    {"/", "nwnwnnnwn"}, {"+", "nwnnnwnwn"}, {"%", "nnnwnwnwn"}, {"*", "nwnnwnwnn"},
};

// Code 93: 3 bars and 3 spaces, bar first, 9 modules in all. Rows are in modulo-47 check-value order.
// The four shift characters have no printable form of their own; their two-byte keys "_1".."_4" are
// what the encoder shows in the human-readable text when a check character lands on one of them, and
// being two bytes long they can never be matched by a single message character.
constexpr KeyedRow Code93Table[47] = {
    {"0", "131112"}, {"1", "111213"}, {"2", "111312"}, {"3", "111411"}, {"4", "121113"},
    {"5", "121212"}, {"6", "121311"}, {"7", "111114"}, {"8", "131211"}, {"9", "141111"},
    {"A", "211113"}, {"B", "211212"}, {"C", "211311"}, {"D", "221112"}, {"E", "221211"},
    {"F", "231111"}, {"G", "112113"}, {"H", "112212"}, {"I", "112311"}, {"J", "122112"},
    {"K", "132111"}, {"L", "111123"}, {"M", "111222"}, {"N", "111321"}, {"O", "121122"},
    {"P", "131121"}, {"Q", "212112"}, {"R", "212211"}, {"S", "211122"}, {"T", "211221"},
    {"U", "221121"}, {"V", "222111"}, {"W", "112122"}, {"X", "112221"}, {"Y", "122121"},
    {"Z", "123111"}, {"-", "121131"}, {".", "311112"}, {" ", "311211"}, {"$", "321111"},
    {"/", "112131"}, {"+", "113121"}, {"%", "211131"},
    {"_1", "121221"},  // ($)
    {"_2", "312111"},  // (%)
    {"_3", "311121"},  // (/)
    {"_4", "122211"},  // (+)
};

// MSI (Plessey): the digit's four bits, most significant first; a 0 bit is a narrow bar and a wide
// space, a 1 bit a wide bar and a narrow space, so every bit cell has the same total width.
constexpr KeyedRow MsiTable[10] = {
    {"0", "nwnwnwnw"}, {"1", "nwnwnwwn"}, {"2", "nwnwwnnw"}, {"3", "nwnwwnwn"}, {"4", "nwwnnwnw"},
    {"5", "nwwnnwwn"}, {"6", "nwwnwnnw"}, {"7", "nwwnwnwn"}, {"8", "wnnwnwnw"}, {"9", "wnnwnwwn"},
};

// Two of five: the wide elements carry weights 1, 2, 4, 7 and an even-parity fifth element; the
// weights sum to the digit, except 0, which is written as 4 + 7 = 11.
constexpr KeyedRow TwoOfFiveTable[10] = {
    {"0", "nnwwn"}, {"1", "wnnnw"}, {"2", "nwnnw"}, {"3", "wwnnn"}, {"4", "nnwnw"},
    {"5", "wnwnn"}, {"6", "nwwnn"}, {"7", "nnnww"}, {"8", "wnnwn"}, {"9", "nwnwn"},
};

// POSTNET: '1' is a full-height bar, '0' a half-height bar; two full bars per digit with weights
// 7, 4, 2, 1, 0 (0 again written as 7 + 4 = 11).
constexpr KeyedRow PostnetTable[10] = {
    {"0", "11000"}, {"1", "00011"}, {"2", "00101"}, {"3", "00110"}, {"4", "01001"},
    {"5", "01010"}, {"6", "01100"}, {"7", "10001"}, {"8", "10010"}, {"9", "10100"},
};

// PLANET: the POSTNET codes with full and half bars exchanged, so three full bars per digit.
constexpr KeyedRow PlanetTable[10] = {
    {"0", "00111"}, {"1", "11100"}, {"2", "11010"}, {"3", "11001"}, {"4", "10110"},
    {"5", "10101"}, {"6", "10011"}, {"7", "01110"}, {"8", "01101"}, {"9", "01011"},
};

// EAN/UPC digit widths, 7 modules each. Set A is the odd-parity code; set B (even parity) is set A
// read backwards; the right half (set C) uses set A's widths but starts with a bar instead of a space,
// which the encoder expresses through its colour string.
constexpr KeyedRow EanSetATable[10] = {
    {"0", "3211"}, {"1", "2221"}, {"2", "2122"}, {"3", "1411"}, {"4", "1132"},
    {"5", "1231"}, {"6", "1114"}, {"7", "1312"}, {"8", "1213"}, {"9", "3112"},
};
constexpr KeyedRow EanSetBTable[10] = {
    {"0", "1123"}, {"1", "1222"}, {"2", "2212"}, {"3", "1141"}, {"4", "2311"},
    {"5", "1321"}, {"6", "4111"}, {"7", "2131"}, {"8", "3121"}, {"9", "2113"},
};

// The remaining EAN/UPC tables are separate objects so that each encoder searches its own table id,
// but they copy the rows of set A or set B, so the widths exist in one place only.
constexpr KeyedRow EanSetCTable[10] = {
    EanSetATable[0], EanSetATable[1], EanSetATable[2], EanSetATable[3], EanSetATable[4],
    EanSetATable[5], EanSetATable[6], EanSetATable[7], EanSetATable[8], EanSetATable[9],
};
constexpr KeyedRow UpcLeftTable[10] = {
    EanSetATable[0], EanSetATable[1], EanSetATable[2], EanSetATable[3], EanSetATable[4],
    EanSetATable[5], EanSetATable[6], EanSetATable[7], EanSetATable[8], EanSetATable[9],
};
constexpr KeyedRow UpcRightTable[10] = {
    EanSetATable[0], EanSetATable[1], EanSetATable[2], EanSetATable[3], EanSetATable[4],
    EanSetATable[5], EanSetATable[6], EanSetATable[7], EanSetATable[8], EanSetATable[9],
};
constexpr KeyedRow UpcOddTable[10] = {
    EanSetATable[0], EanSetATable[1], EanSetATable[2], EanSetATable[3], EanSetATable[4],
    EanSetATable[5], EanSetATable[6], EanSetATable[7], EanSetATable[8], EanSetATable[9],
};
constexpr KeyedRow UpcEvenTable[10] = {
    EanSetBTable[0], EanSetBTable[1], EanSetBTable[2], EanSetBTable[3], EanSetBTable[4],
    EanSetBTable[5], EanSetBTable[6], EanSetBTable[7], EanSetBTable[8], EanSetBTable[9],
};

// Code 128 set B: row = symbol value. Values 0..94 are the printable bytes 32..126. Values 95..102
// (DEL and the function and code-set characters) must not be selected by an ordinary message byte,
// so they are keyed by the bytes value + 100 (0xC3..0xCA), which the encoders write into their
// working text as in-band markers.
constexpr const char* Code128SetBKeys[103] = {
    " ", "!", "\"", "#", "$", "%", "&", "'", "(", ")",
    "*", "+", ",", "-", ".", "/", "0", "1", "2", "3",
    "4", "5", "6", "7", "8", "9", ":", ";", "<", "=",
    ">", "?", "@", "A", "B", "C", "D", "E", "F", "G",
    "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q",
    "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "[",
    "\\", "]", "^", "_", "`", "a", "b", "c", "d", "e",
    "f", "g", "h", "i", "j", "k", "l", "m", "n", "o",
    "p", "q", "r", "s", "t", "u", "v", "w", "x", "y",
    "z", "{", "|", "}", "~", "\xC3", "\xC4", "\xC5", "\xC6", "\xC7",
    "\xC8", "\xC9", "\xCA",
};

// Code 128 set C: row = symbol value. Set C consumes its message two bytes at a time, so its control
// values 100..102 (CODE B, CODE A, FNC1) are keyed by their marker byte doubled; a marker then occupies
// one whole digit-pair slot, and a lone digit (odd-length remainder) matches nothing.
constexpr const char* Code128SetCKeys[103] = {
    "00", "01", "02", "03", "04", "05", "06", "07", "08", "09",
    "10", "11", "12", "13", "14", "15", "16", "17", "18", "19",
    "20", "21", "22", "23", "24", "25", "26", "27", "28", "29",
    "30", "31", "32", "33", "34", "35", "36", "37", "38", "39",
    "40", "41", "42", "43", "44", "45", "46", "47", "48", "49",
    "50", "51", "52", "53", "54", "55", "56", "57", "58", "59",
    "60", "61", "62", "63", "64", "65", "66", "67", "68", "69",
    "70", "71", "72", "73", "74", "75", "76", "77", "78", "79",
    "80", "81", "82", "83", "84", "85", "86", "87", "88", "89",
    "90", "91", "92", "93", "94", "95", "96", "97", "98", "99",
    "\xC8\xC8", "\xC9\xC9", "\xCA\xCA",
};

// Code 128 symbol values 0..102: 3 bars and 3 spaces, bar first, 11 modules with an even number of
// bar modules. Start codes (103..105) and the stop are drawn by the encoder from its own literals.
constexpr const char* Code128Patterns[103] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131",
};

// Code 39 full ASCII: row = ASCII code, each row one or two Code 39 data characters. The shift
// characters '$', '%', '/' and '+' followed by a letter stand for the bytes Code 39 cannot show.
constexpr const char* Code39AsciiTable[128] = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "-",  ".",  "/O",
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
};

// EAN-13: the leading digit is not drawn; it is carried by the A/B choice of the left half's second
// to sixth digits (the first is always A, so it is left out here).
constexpr const char* EanParityTable[10] = {
    "AAAAA", "ABABB", "ABBAB", "ABBBA", "BAABB", "BBAAB", "BBBAA", "BABAB", "BABBA", "BBABA",
};

// Five-digit add-on: its check digit is not drawn but carried by the even/odd parity of its digits.
constexpr const char* AddOn5ParityTable[10] = {
    "EEOOO", "EOEOO", "EOOEO", "EOOOE", "OEEOO", "OOEEO", "OOOEE", "OEOEO", "OEOOE", "OOEOE",
};

// UPC-E: the number system and the check digit are both carried by the parity of the six digits.
// Number system 1 (rows 10..19) is number system 0 with every parity inverted.
constexpr const char* UpceParityTable[20] = {
    "EEEOOO", "EEOEOO", "EEOOEO", "EEOOOE", "EOEEOO", "EOOEEO", "EOOOEE", "EOEOEO", "EOEOOE", "EOOEOE",
    "OOOEEE", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE", "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO",
};

namespace {

// Compares as unsigned bytes because keys hold marker bytes of 0x80 and above.
bool SameBytes(const char* left, const char* right) {
  const auto* a = reinterpret_cast<const unsigned char*>(left);
  const auto* b = reinterpret_cast<const unsigned char*>(right);
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

// The row of every one-byte key of a table, -1 where none: messages are looked up a character at
// a time, so a one-byte key is found without walking the table.
using RowOfByte = std::array<std::int8_t, 256>;

constexpr const char* KeyOf(const KeyedRow& row) { return row.key; }
constexpr const char* KeyOf(const char* key) { return key; }

template <typename Entry, std::size_t N>
constexpr RowOfByte RowsOfOneByteKeys(const Entry (&entries)[N]) {
  static_assert(N <= 127, "rows must fit the index's bytes");
  RowOfByte rows{};
  rows.fill(-1);
  // From the last row up, so that the first row with a key is the one kept.
  for (std::size_t row = N; row-- > 0;) {
    const char* key = KeyOf(entries[row]);
    if (key[0] != '\0' && key[1] == '\0') rows[static_cast<unsigned char>(key[0])] = static_cast<std::int8_t>(row);
  }
  return rows;
}

template <const auto& Table>
constexpr RowOfByte kRowOfByte = RowsOfOneByteKeys(Table);

// A table as the lookup walks it: its keys, and the index of its one-byte keys.
struct SearchableTable {
  const KeyedRow* rows = nullptr;
  const char* const* keys = nullptr;
  int size = 0;
  const RowOfByte* rowOfByte = nullptr;

  const char* KeyAt(int index) const { return rows != nullptr ? rows[index].key : keys[index]; }
};

template <const auto& Table>
constexpr SearchableTable Searchable() {
  SearchableTable table;
  if constexpr (std::is_same_v<std::remove_cvref_t<decltype(Table[0])>, KeyedRow>) {
    table.rows = Table;
  } else {
    table.keys = Table;
  }
  table.size = static_cast<int>(std::size(Table));
  table.rowOfByte = &kRowOfByte<Table>;
  return table;
}

SearchableTable TableFor(int tableId) {
  switch (tableId) {
    case kCodabarTableId: return Searchable<CodabarTable>();
    case kCode11TableId: return Searchable<Code11Table>();
    case kCode128SetBKeysId: return Searchable<Code128SetBKeys>();
    case kCode39TableId: return Searchable<Code39Table>();
    case kCode93TableId: return Searchable<Code93Table>();
    case kMsiTableId: return Searchable<MsiTable>();
    case kCode128SetCKeysId: return Searchable<Code128SetCKeys>();
    case kEanSetATableId: return Searchable<EanSetATable>();
    case kEanSetBTableId: return Searchable<EanSetBTable>();
    case kEanSetCTableId: return Searchable<EanSetCTable>();
    case kUpcLeftTableId: return Searchable<UpcLeftTable>();
    case kUpcRightTableId: return Searchable<UpcRightTable>();
    case kUpcEvenTableId: return Searchable<UpcEvenTable>();
    case kUpcOddTableId: return Searchable<UpcOddTable>();
    case kTwoOfFiveTableId: return Searchable<TwoOfFiveTable>();
    default: return {};
  }
}

}  // namespace

int LookupSymbolIndex(int tableId, const char* key) {
  // No row has an empty key, but refusing it here keeps that true whatever the tables hold.
  if (key == nullptr || key[0] == '\0') return -1;
  const SearchableTable table = TableFor(tableId);
  if (table.rowOfByte == nullptr) return -1;
  if (key[1] == '\0') return (*table.rowOfByte)[static_cast<unsigned char>(key[0])];
  for (int index = 0; index < table.size; ++index) {
    if (SameBytes(table.KeyAt(index), key)) return index;
  }
  return -1;
}

}  // namespace varnel
