/* A program outside the project that uses an installed Varnel32: it draws a Code 39 symbol into the
 * PNG file named by its argument. */
#include <stdio.h>
#include <varnel32.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: consumer FILE.png\n");
    return 1;
  }
  VnSetDefault();
  VnBasicInfo(3, 0.05, 2.5, 0, 0);
  VnSetMessage("INSTALLED");
  if (!VnSaveAsPNG(argv[1])) {
    fprintf(stderr, "consumer: cannot write %s\n", argv[1]);
    return 1;
  }
  if (VnGetLastError()[0] != '\0') {
    fprintf(stderr, "consumer: %s\n", VnGetLastError());
    return 1;
  }
  return 0;
}
