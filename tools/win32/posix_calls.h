// The few POSIX calls of the tool that mingw-w64's C runtime does not have, or has otherwise, for
// varnel.exe. tools/CMakeLists.txt includes this header ahead of every source of the Windows
// build, so that the tool's sources call them as they do on Linux.
#pragma once

#include <cstdio>

#include <io.h>
#include <sys/types.h>
#include <unistd.h>

// Reads a line as POSIX's getline does: the line with its end, into a buffer grown with realloc;
// -1 at the end of the input.
ssize_t getline(char** line, size_t* capacity, std::FILE* in);

// Whether the descriptor is a console. The C runtime's isatty says so of any character device,
// NUL among them, where a program's output is discarded, not shown.
int IsConsole(int fd);
#define isatty IsConsole
