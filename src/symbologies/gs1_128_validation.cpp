// What GS1-128 accepts, in the order a reader of the refusal would fix it: the element strings as
// written, each one's data, the AIs they need and exclude, and last the symbol's length.
#include <cstddef>

#include "symbologies/gs1_128.h"
#include "symbologies/gs1_associations.h"
#include "symbologies/gs1_element_checks.h"
#include "symbologies/gs1_element_strings.h"

namespace varnel {
namespace {

int DataCharacters(const ElementStrings& strings) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < strings.count; ++i) {
    count += strings.items[i].ai.size() + strings.items[i].data.size() + (NeedsSeparator(strings, i) ? 1 : 0);
  }
  return static_cast<int>(count);
}

}  // namespace

bool ValidateGs1_128(std::string_view message, ComposedMessage& fault) {
  ElementStrings strings;
  if (!ReadElementStrings(message, strings, fault)) return false;
  for (std::size_t i = 0; i < strings.count; ++i) {
    if (!CheckElementData(strings.items[i], fault)) return false;
  }
  if (!CheckAssociations(strings, fault)) return false;
  const int characters = DataCharacters(strings);
  if (characters <= kGs1_128MaxDataCharacters) return true;
  fault << "The element strings take " << characters << " data characters; GS1-128 holds "
        << kGs1_128MaxDataCharacters << '.';
  return false;
}

}  // namespace varnel
