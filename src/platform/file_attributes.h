// What a replaced file hands on to the file that takes its place.
#pragma once

#include <sys/stat.h>

#include <string>

namespace varnel {

// Gives the new file behind `fd`, before anyone can open it by name, what the old file at
// `oldPath` had: its owner and group where they may be given, its permissions but the set-id ones,
// and its extended attributes, the access control list among them. Returns false when the new file
// would be more open than the old one: its permissions could not be set, or the old file's access
// control list could neither be carried over nor be stood in for by narrower permissions.
bool TakeOverAttributes(int fd, const std::string& oldPath, const struct stat& old);

}  // namespace varnel
