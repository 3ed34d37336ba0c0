// Reading a rendered linear symbol back from the pixels of its BMP: the widths of its bars and spaces
// and, for the postal codes, the extent of every bar. Nothing here knows how the library draws; the
// picture is only assumed to hold one symbol without text.
#pragma once

#include <string>
#include <vector>

#include "drawing/context.h"
#include "support/bmp_reader.h"

namespace varnel::testing {

// Element widths in pixels under ConfigureForScanning.
inline constexpr int kScanNarrow = 3;
inline constexpr int kScanWide = 7;
inline constexpr int kScanLength = 1200;

// Narrow elements of kScanNarrow and wide ones of kScanWide pixels at 96 pixels per inch, no text,
// the check character switches as given, in a picture kScanLength pixels long in the direction the symbol
// runs and 300 across it. Expects the defaults (ResetLibrary) underneath.
void ConfigureForScanning(Context& context, int symbology, int orientation, int addCheckDigit, int checkDigitInText);

// Renders the context to a BMP, reads it back and turns it upright from the orientation it was
// drawn in, so that the symbol reads left to right with its bars standing on the bottom.
Bitmap RenderUpright(Context& context, int orientation);

// The row of an upright picture with the most changes between light and dark: it crosses every bar,
// half-height postal bars included.
int RowCrossingEveryBar(const Bitmap& upright);

// The widths of the alternating bars and spaces along that row, first bar to last bar.
std::vector<int> ElementWidths(const Bitmap& upright);

// Where the first bar begins along that row.
int SymbolStart(const Bitmap& upright);

// Where a symbol of these element widths, followed by `trailingSpace`, begins when it is centred in
// the picture of ConfigureForScanning. The measuring pass decides the centring, so this shows that it
// measured exactly what the drawing pass drew.
int CentredStart(const std::vector<int>& widths, int trailingSpace);

// One bar of an upright picture: its columns and, measured down its middle column, its rows.
struct ScannedBar {
  int left;
  int width;
  int top;
  int height;
};
std::vector<ScannedBar> ScanBars(const Bitmap& upright);

// Pixel widths of a published pattern written with '0' for a narrow element and '1' for a wide one.
std::vector<int> NarrowWideWidths(const std::string& pattern, int narrow, int wide);

}  // namespace varnel::testing
