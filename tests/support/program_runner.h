// Running a program as a user would from a shell, to test it from the outside: its exit status and
// what it printed.
#pragma once

#include <string>
#include <vector>

namespace varnel::testing {

struct ProgramResult {
  int exitCode = -1;  // -1 when the program could not be started or did not exit normally
  std::string out;
  std::string err;
};

// Standard input is `input`; standard output and error are captured separately, so neither is a
// terminal.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input = "");

// The same with standard input, output and error all on one new pseudo-terminal, as in an
// interactive session; `out` then holds everything written to either, and `err` stays empty.
ProgramResult RunProgramOnTerminal(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace varnel::testing
