// One encoder per symbology. Each is run once in the measuring pass and once in the drawing pass,
// starts at the cursor, draws through the element drawing and must advance the cursor by the same
// total in both passes.
#pragma once

namespace varnel {

void EncodeCode39();
void EncodeCode39Ascii();

// The shared step of both Code 39 encoders: one row of Code39Table and the inter-character gap.
void DrawCode39Char(int row);

}  // namespace varnel
