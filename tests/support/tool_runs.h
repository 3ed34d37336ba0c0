// The varnel tool run as its users run it, for the suites that test it from the outside. Needs the
// tool's path in VARNEL_TOOL, which the suites' build defines.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "support/program_runner.h"

namespace varnel::testing {

inline ProgramResult Varnel(const std::vector<std::string>& arguments, const std::string& input = "") {
  return RunProgram(VARNEL_TOOL, arguments, input);
}

inline std::vector<std::string> With(std::vector<std::string> arguments, std::initializer_list<std::string> more) {
  arguments.insert(arguments.end(), more);
  return arguments;
}

// The arguments as a command line, for messages.
inline std::string Joined(const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) {
    if (!joined.empty()) joined += ' ';
    joined += argument;
  }
  return joined;
}

}  // namespace varnel::testing
