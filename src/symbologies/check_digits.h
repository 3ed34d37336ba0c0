// Check-character arithmetic that several symbologies share. The EAN/UPC weighted check digit, which
// Interleaved 2 of 5 uses too, is declared with the retail family in ean_upc.h.
#pragma once

namespace varnel {

// The value 0..modulus-1 that makes sum + value a multiple of modulus.
int ModuloComplement(unsigned sum, unsigned modulus);

}  // namespace varnel
