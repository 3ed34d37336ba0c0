#include "symbologies/check_digits.h"

namespace varnel {

int ModuloComplement(unsigned sum, unsigned modulus) {
  return static_cast<int>((modulus - sum % modulus) % modulus);
}

}  // namespace varnel
