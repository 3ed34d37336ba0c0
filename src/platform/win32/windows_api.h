// The platform's own interface, for the Windows platform sources only. Include it after the
// project's headers: <windows.h> defines macros (ExtTextOut, CreateFont, TextOut, ...) that would
// otherwise rename members of the engine's classes.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
