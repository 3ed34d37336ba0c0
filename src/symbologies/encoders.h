// One encoder per symbology. Each is run once in the measuring pass and once in the drawing pass,
// starts at the cursor, draws through the element drawing and must advance the cursor by the same
// total in both passes.
#pragma once

namespace varnel {

void EncodeCode39();
void EncodeCode39Ascii();

// The shared step of both Code 39 encoders: one row of Code39Table and the inter-character gap.
void DrawCode39Char(int row);

// The EAN/UPC family; their shared steps and the add-ons are in ean_upc.h.
void EncodeEan13();
void EncodeJan13();
void EncodeIsbn();
void EncodeEan8();
void EncodeJan8();
void EncodeUpcA();
void EncodeUpcE();

void EncodeCode93();

void EncodeCode128();
void EncodeUccEan128();
void EncodeSscc18();
void EncodeUccEan128Ai01();

// The shared step of the Code 128 family: the symbol character of a value 0..102 of Code128Patterns.
void DrawCode128Value(int value);

void EncodeCodabar();
void EncodeCode11();

void EncodeInterleaved2of5();
void EncodeMatrix2of5();
void EncodeMsi();
void EncodePlanet();
void EncodePostnet();

}  // namespace varnel
