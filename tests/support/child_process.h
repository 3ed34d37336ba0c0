// Running a piece of a test in a forked child, for faults that must not touch the test process
// itself: a dropped privilege, an exhausted address space, a file size limit, a private mount.
#pragma once

#include <functional>

namespace varnel::testing {

// The child's exit status (what `body` returned, 0..255), or -1 when the child did not exit
// normally (a signal, a crash) or could not be started. The child ends with _exit: it runs no
// destructors or handlers of the test process.
int ExitStatusInChild(const std::function<int()>& body);

}  // namespace varnel::testing
