/* The C host beside the .NET example (packaging/windows/Barcodes.cs). It reads the index the example
 * wrote, makes for each line the calls the example made, through the C interface, writes its own BMP
 * and PNG and compares them byte for byte with the example's: a text, a double or an int that the
 * marshaller passed otherwise than C does would draw another picture. It also measures each symbol
 * and compares the sizes with those VnMeasure gave .NET through its out parameters, and checks that
 * the index covers every symbology.
 *
 *   varnel_dotnet_c_host DOTNET_FOLDER OWN_FOLDER
 *
 * The last line is "N passed, N failed"; the exit code is 0 only when nothing failed. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "support/host_checks.h"
#include "varnel32.h"

enum { kSymbologies = 23, kFields = 13 };

/* Whether two files hold the same bytes; both must exist. */
static int SameFile(const char* a, const char* b) {
  FILE* fa = fopen(a, "rb");
  FILE* fb = fopen(b, "rb");
  int same = fa != NULL && fb != NULL;
  while (same) {
    const int ca = getc(fa), cb = getc(fb);
    same = ca == cb;
    if (ca == EOF || cb == EOF) break;
  }
  if (fa != NULL) fclose(fa);
  if (fb != NULL) fclose(fb);
  return same;
}

/* Splits a line at '|' into kFields fields in place, the data (which may hold '|') last. */
static int SplitFields(char* line, char* fields[kFields]) {
  int count = 0;
  fields[count++] = line;
  while (count < kFields) {
    char* bar = strchr(fields[count - 1], '|');
    if (bar == NULL) return 0;
    *bar = '\0';
    fields[count++] = bar + 1;
  }
  return 1;
}

static void ReplayLine(char* line, const char* dotnetFolder, const char* ownFolder, int covered[kSymbologies]) {
  line[strcspn(line, "\r\n")] = '\0';
  char* f[kFields];
  if (!SplitFields(line, f)) {
    Check(0, "an index line of %d fields: %s", kFields, line);
    return;
  }
  /* name|symbology|narrowCm|ratio|barHeightCm|showText|addCheckDigit|checkDigitInText|width|height|
   * length|thickness|data */
  const int symbology = atoi(f[1]);
  const int width = atoi(f[8]), height = atoi(f[9]);
  VnSetDefault();
  VnBasicInfo(symbology, strtod(f[2], NULL), strtod(f[3], NULL), 0, 0);
  VnSetSymbology(symbology);
  VnSetMessage(f[12]);
  VnTextInfo(atoi(f[5]), atoi(f[6]), atoi(f[7]));
  VnSetBarHeight(strtod(f[4], NULL));
  int length = -1, thickness = -1;
  Check(VnMeasure(&length, &thickness) == 1 && length == atoi(f[10]) && thickness == atoi(f[11]),
        "%s: the C host measures %d by %d, .NET was told %s by %s", f[0], length, thickness, f[10], f[11]);
  VnSetSize(width, height);

  static const char* const kExtensions[] = {"bmp", "png"};
  for (int e = 0; e < 2; ++e) {
    char theirs[4096], ours[4096];
    const int named = snprintf(theirs, sizeof theirs, "%s/%s.%s", dotnetFolder, f[0], kExtensions[e]) < (int)sizeof theirs &&
                      snprintf(ours, sizeof ours, "%s/%s.%s", ownFolder, f[0], kExtensions[e]) < (int)sizeof ours;
    const VnBool saved = !named ? 0 : e == 0 ? VnSaveAsBMP(ours) : VnSaveAsPNG(ours);
    Check(saved == 1 && SameFile(theirs, ours), "%s: the .NET host's %s is the C host's, byte for byte",
          f[0], kExtensions[e]);
  }
  if (symbology >= 0 && symbology < kSymbologies) covered[symbology] = 1;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s DOTNET_FOLDER OWN_FOLDER\n", argv[0]);
    return 2;
  }
  mkdir(argv[2], 0777);
  char path[4096];
  FILE* index = snprintf(path, sizeof path, "%s/index.txt", argv[1]) < (int)sizeof path ? fopen(path, "r") : NULL;
  Check(index != NULL, "the .NET host's index: %s", path);
  int covered[kSymbologies] = {0};
  if (index != NULL) {
    char line[4096];
    while (fgets(line, sizeof line, index) != NULL) ReplayLine(line, argv[1], argv[2], covered);
    fclose(index);
  }
  for (int s = 0; s < kSymbologies; ++s) Check(covered[s], "symbology %d is drawn by the .NET host", s);
  return ChecksExitCode();
}
