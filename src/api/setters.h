// What the setters do to a context's settings. They never fail: a value out of range is ignored or
// replaced by a fixed value, and a text longer than its field is cut to the field. Data errors are
// found at render time.
#pragma once

#include "drawing/context.h"

namespace varnel {

void SetDefault(Context& context);
void SetSize(Context& context, int width, int height);
void SetMessage(Context& context, const char* data);
void SetFont(Context& context, const char* faceName, int fontHeight);
void SetTextInfo(Context& context, int showText, int addCheckDigit, int checkDigitInText);
void SetCodabarInfo(Context& context, int start, int stop);
void SetUpcESystem(Context& context, int system);
void SetSupplementInfo(Context& context, int kind, const char* digits, double gapCm);
// Any symbology of the catalogue; other numbers leave the setting unchanged.
void SetSymbology(Context& context, int symbology);
// Chooses only among the classic numbers (kClassicSymbologyCount).
void SetBasicInfo(Context& context, int symbology, double narrowWidthCm, double wideRatio, int orientation,
                  int frameStyle);
void SetBarHeight(Context& context, double heightCm);
void SetTransparentBackground(Context& context, int transparent);
void SetBackColor(Context& context, int red, int green, int blue);
void SetBarColor(Context& context, int red, int green, int blue);

}  // namespace varnel
