// What the tool's exit status says.
#pragma once

namespace varnel::tool {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;  // a bad option, an unreadable batch, a file that cannot be written
constexpr int kExitRefused = 2;  // the library refused the data

// The status of two outcomes together: any failure outweighs refused data.
constexpr int CombinedExitCode(int a, int b) {
  if (a == kExitFailure || b == kExitFailure) return kExitFailure;
  return a > b ? a : b;
}

}  // namespace varnel::tool
