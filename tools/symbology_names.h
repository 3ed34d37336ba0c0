// The symbologies by the names people type on a command line.
#pragma once

#include <optional>
#include <string_view>

namespace varnel::tool {

// A number of the catalogue or one of its names; names match whatever their case and whether or not
// they are written with '-', '_' or spaces, so "UPC-A", "upca" and "upc_a" are the same symbology.
std::optional<int> FindSymbology(std::string_view text);

// The catalogue's title up to its first comma, for sentences: "ISBN", not "ISBN, as an EAN-13
// beginning 978". The number is one of the catalogue's.
std::string_view ShortTitle(int symbology);

}  // namespace varnel::tool
