// How six UPC-E digits stand for a UPC-A number, written once for the library's round-trip check
// and for hosts (the tool among them) that take the printed UPC-E digits from people.
#pragma once

#include <array>

namespace varnel {

// The manufacturer and product digits d2..d11 that six UPC-E digits stand for: the last digit says
// where the manufacturer's number ends and how many zeros go back in before the item number.
constexpr std::array<char, 10> ExpandUpcEZeros(const char* x) {
  switch (x[5]) {
    case '0':
    case '1':
    case '2': return {x[0], x[1], x[5], '0', '0', '0', '0', x[2], x[3], x[4]};
    case '3': return {x[0], x[1], x[2], '0', '0', '0', '0', '0', x[3], x[4]};
    case '4': return {x[0], x[1], x[2], x[3], '0', '0', '0', '0', '0', x[4]};
    default: return {x[0], x[1], x[2], x[3], x[4], '0', '0', '0', '0', x[5]};
  }
}

}  // namespace varnel
