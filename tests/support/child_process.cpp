#include "support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace varnel::testing {

int ExitStatusInChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) ::_exit(body() & 0xFF);
  int status = 0;
  pid_t waited;
  do {
    waited = ::waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace varnel::testing
