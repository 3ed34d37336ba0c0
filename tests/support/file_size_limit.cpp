#include "support/file_size_limit.h"

#include <csignal>

namespace varnel::testing {

VnBool SaveUnderFileSizeLimit(VnBool (*save)(const char*), const std::string& path, rlim_t limitBytes) {
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = limitBytes;
  setrlimit(RLIMIT_FSIZE, &small);
  const VnBool result = save(path.c_str());
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);
  return result;
}

}  // namespace varnel::testing
