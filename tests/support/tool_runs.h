// The varnel tool run as its users run it, for the suites that test it from the outside. Needs the
// tool's path in VARNEL_TOOL, which the suites' build defines.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "support/file_outputs.h"
#include "support/program_runner.h"

namespace varnel::testing {

inline ProgramResult Varnel(const std::vector<std::string>& arguments, const std::string& input = "") {
  return RunProgram(VARNEL_TOOL, arguments, input);
}

inline std::vector<std::string> With(std::vector<std::string> arguments, std::initializer_list<std::string> more) {
  arguments.insert(arguments.end(), more);
  return arguments;
}

// The library's file outputs and the tool, which saves through them, for the suites that hold every
// save to the same rules: the tool's row writes a PNG.
inline std::vector<FileOutput> FileOutputsAndTool() {
  std::vector<FileOutput> outputs(std::begin(kFileOutputs), std::end(kFileOutputs));
  outputs.push_back({"varnel", [](const char* path) -> VnBool {
                       return Varnel({"-f", "png", "-o", path, "1234"}).exitCode == 0 ? 1 : 0;
                     }, VN_FORMAT_PNG});
  return outputs;
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
