#include "symbologies/gs1_dictionary.h"

// Written at build time from third_party/gs1 by cmake/gs1_ai_table.py.
#include "symbologies/gs1_ai_table.h"

namespace varnel {

const Gs1Ai* FindGs1Ai(std::string_view ai) {
  // The AIs of a run have one length, so between two of that length the digits compare as numbers.
  for (const Gs1Ai& entry : gs1_table::kAis) {
    if (ai.size() == entry.first.size() && ai >= entry.first && ai <= entry.last) return &entry;
  }
  return nullptr;
}

}  // namespace varnel
