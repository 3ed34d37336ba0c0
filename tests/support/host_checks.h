/* The checks of the C host programs (tests/windows/host.c, tests/dotnet/c_host.c): each counted, a
 * failed one reported with what it checked, and the closing line "N passed, N failed" that the test
 * runners read. */
#ifndef VARNEL_TESTS_HOST_CHECKS_H
#define VARNEL_TESTS_HOST_CHECKS_H

#include <stdarg.h>
#include <stdio.h>

static int passed = 0;
static int failed = 0;

/* Counts a check; a failed one is reported from a printf format. */
static void __attribute__((format(printf, 2, 3))) Check(int ok, const char* format, ...) {
  if (ok) {
    ++passed;
    return;
  }
  ++failed;
  va_list arguments;
  va_start(arguments, format);
  printf("FAILED: ");
  vprintf(format, arguments);
  printf("\n");
  va_end(arguments);
}
#define CHECK(ok, ...) Check((ok) != 0, __VA_ARGS__)

/* Prints the closing line; the exit code is 0 only when something passed and nothing failed. */
static int ChecksExitCode(void) {
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}

#endif
