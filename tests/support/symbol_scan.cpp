#include "support/symbol_scan.h"

#include "api/setters.h"
#include "base/settings.h"
#include "support/render_harness.h"

namespace varnel::testing {

void ConfigureForScanning(Context& context, int symbology, int orientation, int addCheckDigit, int checkDigitInText) {
  constexpr double kNarrowCm = 0.08;  // 3.02 pixels at 96 pixels per inch
  constexpr double kWideRatio = 2.5;
  constexpr int kScanAcross = 300;
  SetBasicInfo(context, symbology, kNarrowCm, kWideRatio, orientation, 0);
  SetSymbology(context, symbology);
  if (RunsVertically(orientation)) {
    SetSize(context, kScanAcross, kScanLength);
  } else {
    SetSize(context, kScanLength, kScanAcross);
  }
  SetTextInfo(context, 0, addCheckDigit, checkDigitInText);
}

Bitmap RenderUpright(Context& context, int orientation) { return Unrotate(RenderToBitmap(context), orientation); }

int RowCrossingEveryBar(const Bitmap& upright) {
  int bestRow = 0;
  int bestChanges = -1;
  for (int y = 0; y < upright.height; ++y) {
    int changes = 0;
    for (int x = 1; x < upright.width; ++x) changes += IsDark(upright, x, y) != IsDark(upright, x - 1, y);
    if (changes > bestChanges) {
      bestChanges = changes;
      bestRow = y;
    }
  }
  return bestRow;
}

std::vector<int> ElementWidths(const Bitmap& upright) { return RunsAlongRow(upright, RowCrossingEveryBar(upright)); }

int SymbolStart(const Bitmap& upright) {
  const int row = RowCrossingEveryBar(upright);
  int x = 0;
  while (x < upright.width && !IsDark(upright, x, row)) ++x;
  return x;
}

int CentredStart(const std::vector<int>& widths, int trailingSpace) {
  int length = trailingSpace;
  for (const int width : widths) length += width;
  return (kScanLength - length) / 2;
}

std::vector<ScannedBar> ScanBars(const Bitmap& upright) {
  const int row = RowCrossingEveryBar(upright);
  std::vector<ScannedBar> bars;
  for (int x = 0; x < upright.width;) {
    if (!IsDark(upright, x, row)) {
      ++x;
      continue;
    }
    ScannedBar bar{x, 0, row, 0};
    while (x < upright.width && IsDark(upright, x, row)) ++x;
    bar.width = x - bar.left;
    const int middle = bar.left + bar.width / 2;
    int bottom = row;
    while (IsDark(upright, middle, bar.top - 1)) --bar.top;
    while (IsDark(upright, middle, bottom + 1)) ++bottom;
    bar.height = bottom - bar.top + 1;
    bars.push_back(bar);
  }
  return bars;
}

std::vector<int> NarrowWideWidths(const std::string& pattern, int narrow, int wide) {
  std::vector<int> widths;
  for (const char element : pattern) widths.push_back(element == '1' ? wide : narrow);
  return widths;
}

}  // namespace varnel::testing
