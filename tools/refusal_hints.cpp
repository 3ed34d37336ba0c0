#include "refusal_hints.h"

#include <algorithm>

#include "message_text.h"
#include "symbologies/catalogue.h"
#include "symbology_conventions.h"
#include "symbology_names.h"
#include "text_encoding.h"

namespace varnel::tool {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The add-on is the trouble when it is given to a symbology that checks its digits, and is not two
// or five digits.
bool AddOnIsWrong(int symbology, std::string_view addOn) {
  if (addOn.empty() || !TakesAddOnDigits(symbology)) return false;
  return (addOn.size() != 2 && addOn.size() != 5) || !std::all_of(addOn.begin(), addOn.end(), IsDigit);
}

std::string Shown(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (value < 0x20 || value == 0x7F) return "the control character " + ControlCharacterNumber(value);
  return Quoted(Windows1252ToUtf8(std::string_view(&byte, 1)));
}

std::string Hint(int symbology, std::string_view data, std::string_view addOn) {
  if (AddOnIsWrong(symbology, addOn)) return "an add-on is 2 or 5 digits";
  const SymbologyConventions& conventions = ConventionsOf(symbology);
  if (conventions.accepts.empty()) return {};
  std::string hint;
  const std::string_view title = ShortTitle(symbology);
  if (!conventions.characters.empty()) {
    const auto stranger = std::find_if(data.begin(), data.end(), [&](char c) {
      return conventions.characters.find(c) == std::string_view::npos;
    });
    if (stranger != data.end()) hint = Shown(*stranger) + " is not a " + std::string(title) + " character; ";
  }
  hint += std::string(title) + " takes " + std::string(conventions.accepts);
  const bool lowerCase = std::any_of(data.begin(), data.end(), [](char c) { return c >= 'a' && c <= 'z'; });
  if (lowerCase && !conventions.lowerCaseHint.empty()) hint += "; " + std::string(conventions.lowerCaseHint);
  return hint;
}

}  // namespace

std::string ExplainRefusal(int symbology, std::string_view libraryMessage, std::string_view data,
                           std::string_view addOn) {
  std::string message(libraryMessage);
  const std::string hint = Hint(symbology, data, addOn);
  if (hint.empty()) return message;
  message += message.ends_with('.') ? " " : ": ";
  message += hint;
  return message;
}

}  // namespace varnel::tool
