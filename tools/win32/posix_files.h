// The file calls of the tool's own picture writer and batch output keys (picture_output.cpp,
// output_file_key.cpp), as Windows has them: to be deleted with those two files once the tool saves
// through the library's exports. Windows' C runtime has no links for lstat to see, no flags for
// handles kept from children or for FIFOs, and no entry types in a folder's listing.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#define O_CLOEXEC 0
#define O_NONBLOCK 0
#define lstat stat
#define S_ISLNK(mode) false
// No entry is a link: mingw's dirent has a name length where POSIX has a type, which no type equals.
#define d_type d_namlen
#define DT_LNK 0xFFFF
#define DT_UNKNOWN 0xFFFE
