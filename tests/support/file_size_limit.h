// Making a file write fail part-way, as a full disk does, without a full disk: the process's file
// size limit is lowered for the duration of one save.
#pragma once

#include <sys/resource.h>

#include <string>

#include "varnel32.h"

namespace varnel::testing {

// Runs save(path) with files limited to `limitBytes` (writes beyond it fail instead of raising
// SIGXFSZ), then restores the limit; returns what the save returned.
VnBool SaveUnderFileSizeLimit(VnBool (*save)(const char*), const std::string& path, rlim_t limitBytes);

}  // namespace varnel::testing
