// The POSIX call of the tool that mingw-w64's C runtime has otherwise, for varnel.exe; its source
// also puts files and the standard streams in binary mode. tools/CMakeLists.txt includes this
// header ahead of every source of the Windows build, so that the tool's sources call isatty as
// they do on Linux.
#pragma once

#include <cstdio>

#include <io.h>
#include <unistd.h>

// Whether the descriptor is a console. The C runtime's isatty says so of any character device,
// NUL among them, where a program's output is discarded, not shown.
int IsConsole(int fd);
#define isatty IsConsole
