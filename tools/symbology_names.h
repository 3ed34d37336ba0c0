// The symbologies by the names people type on a command line.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace varnel::tool {

struct SymbologyName {
  int number;               // the library's symbology number
  std::string_view name;    // what --symbology accepts and --list prints
  std::string_view description;
};

// Every symbology the library draws, in the order of their numbers.
std::span<const SymbologyName> AllSymbologies();

// A number 0..20 or a name; names match whatever their case and whether or not they are written
// with '-', '_' or spaces, so "UPC-A", "upca" and "upc_a" are the same symbology.
std::optional<int> FindSymbology(std::string_view text);

}  // namespace varnel::tool
