// One encoder per symbology. Each is run once or twice a render (see WalkJobs), starts at the
// cursor, draws through the element drawing and must advance the cursor by the same total whatever
// the walk does.
#pragma once

#include "drawing/context.h"

namespace varnel {

void EncodeCode39(Context& context);
void EncodeCode39Ascii(Context& context);

// The shared step of both Code 39 encoders: one row of Code39Table and the inter-character gap.
void DrawCode39Char(Context& context, int row);

// The EAN/UPC family; their shared steps and the add-ons are in ean_upc.h.
void EncodeEan13(Context& context);
void EncodeJan13(Context& context);
void EncodeIsbn(Context& context);
void EncodeEan8(Context& context);
void EncodeJan8(Context& context);
void EncodeUpcA(Context& context);
void EncodeUpcE(Context& context);

void EncodeCode93(Context& context);

void EncodeCode128(Context& context);
void EncodeUccEan128(Context& context);
void EncodeSscc18(Context& context);
void EncodeUccEan128Ai01(Context& context);
void EncodeGs1_128(Context& context);

// The shared steps of the Code 128 family are in code128.h.

void EncodeCodabar(Context& context);
void EncodeCode11(Context& context);

void EncodeInterleaved2of5(Context& context);
void EncodeItf14(Context& context);
void EncodeMatrix2of5(Context& context);
void EncodeMsi(Context& context);
void EncodePlanet(Context& context);
void EncodePostnet(Context& context);

}  // namespace varnel
