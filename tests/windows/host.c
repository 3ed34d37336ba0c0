/* The Windows test host: a C program that uses Varnel32.dll as any Windows host would. It loads the
 * DLL with LoadLibrary, finds its exports by their plain names with GetProcAddress, calls them with
 * the standard calling convention, and checks what they deliver through the platform itself: the
 * files' headers, the metafiles the platform accepts, the enhanced metafile on the clipboard, and
 * the file rules. It also writes, for the Linux side to compare, the bar pictures of every
 * symbology in the four orientations, as BMP files and as the enhanced metafiles the clipboard
 * holds, with a manifest of their settings.
 *
 *   varnel_windows_host <Varnel32.dll> <folder>       runs the checks, writes into the folder
 *   varnel_windows_host --hold-clipboard <ready> <release>
 *                                                     holds the clipboard open (another program)
 *
 * The last line is "N passed, N failed"; the exit code is 0 only when nothing failed. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "support/host_checks.h"
#include "varnel32.h"

/* The fourteen exports of the classic interface, the extensions, and every export of the context
 * interface. */
#define CLASSIC_EXPORTS(X)                                                                         \
  X(VnSetDefault) X(VnSetSize) X(VnSetMessage) X(VnFontInfo) X(VnTextInfo) X(VnCodaBarInfo)        \
  X(VnUPCESystem) X(VnSupplementInfo) X(VnBasicInfo) X(VnSetBackColor) X(VnSetBarColor)            \
  X(VnCopyToClipboard) X(VnSaveAsWMF) X(VnSaveAsBMP)
#define CONTEXT_EXPORTS(X)                                                                         \
  X(VnCreateContext) X(VnDestroyContext) X(VnCtxSetDefault) X(VnCtxSetSize) X(VnCtxSetMessage)     \
  X(VnCtxFontInfo) X(VnCtxTextInfo) X(VnCtxCodaBarInfo) X(VnCtxUPCESystem) X(VnCtxSupplementInfo)  \
  X(VnCtxBasicInfo) X(VnCtxSetSymbology) X(VnCtxSetBackColor) X(VnCtxSetBarColor)                  \
  X(VnCtxCopyToClipboard) X(VnCtxSaveAsWMF) X(VnCtxSaveAsBMP) X(VnCtxSaveAsEMF) X(VnCtxMeasure)     \
  X(VnCtxGetLastError) X(VnCtxSetBarHeight) X(VnCtxSetTransparentBackground) X(VnCtxRenderToMemory) \
  X(VnCtxSaveAsSVG) X(VnCtxSaveAsPNG) X(VnCtxGetLastSaveError)
#define EXTENSION_EXPORTS(X)                                                                       \
  X(VnSetScreenResolution) X(VnSaveAsEMF) X(VnSetBarHeight) X(VnSetTransparentBackground)          \
  X(VnRenderToMemory) X(VnSetSymbology) X(VnSaveAsSVG) X(VnSaveAsPNG) X(VnGetClipboardEMF)         \
  X(VnMeasure) X(VnGetLastError) X(VnGetLastSaveError)
#define ALL_EXPORTS(X) CLASSIC_EXPORTS(X) EXTENSION_EXPORTS(X) CONTEXT_EXPORTS(X)

/* Pointers typed from the public header's declarations, so every call is made exactly as the
 * header declares it: __stdcall, the header's argument types. */
static struct {
#define DECLARE_POINTER(name) __typeof__(&name) name;
  ALL_EXPORTS(DECLARE_POINTER)
#undef DECLARE_POINTER
} vn;


/* ---- Files ----------------------------------------------------------------------------------- */

typedef struct {
  unsigned char* bytes;
  size_t size;
} FileBytes;

static FileBytes ReadWholeFile(const char* path) {
  FileBytes file = {NULL, 0};
  FILE* f = fopen(path, "rb");
  if (f == NULL) return file;
  if (fseek(f, 0, SEEK_END) == 0) {
    const long size = ftell(f);
    if (size >= 0 && fseek(f, 0, SEEK_SET) == 0) {
      file.bytes = malloc((size_t)size + 1);
      if (file.bytes != NULL) file.size = fread(file.bytes, 1, (size_t)size, f);
    }
  }
  fclose(f);
  return file;
}

static int WriteWholeFile(const char* path, const void* bytes, size_t size) {
  FILE* f = fopen(path, "wb");
  if (f == NULL) return 0;
  const int ok = fwrite(bytes, 1, size, f) == size;
  return fclose(f) == 0 && ok;
}

static int Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

static int IsFolder(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

static unsigned U16(const unsigned char* b, size_t at) { return (unsigned)(b[at] | b[at + 1] << 8); }
static uint32_t U32(const unsigned char* b, size_t at) { return U16(b, at) | (uint32_t)U16(b, at + 2) << 16; }
static int32_t I32(const unsigned char* b, size_t at) { return (int32_t)U32(b, at); }

static void JoinPath(char* out, size_t size, const char* folder, const char* name) {
  snprintf(out, size, "%s\\%s", folder, name);
}

static int ScreenCaps(int index) {
  const HDC screen = GetDC(NULL);
  const int value = GetDeviceCaps(screen, index);
  ReleaseDC(NULL, screen);
  return value;
}

/* ---- The one-bit BMP, read independently of the library ------------------------------------- */

typedef struct {
  int width;
  int height;
  FileBytes file;
} OneBitPicture;

/* Whether a colour-table entry is dark, by its luminance. */
static int IsDarkEntry(const unsigned char* rgbquad) {
  return 299 * rgbquad[2] + 587 * rgbquad[1] + 114 * rgbquad[0] < 128 * 1000;
}

static int PixelIsDark(const OneBitPicture* p, int x, int y) {
  const size_t rowBytes = ((size_t)p->width + 31) / 32 * 4;
  const size_t row = 62 + (size_t)(p->height - 1 - y) * rowBytes;
  const int index = (p->file.bytes[row + (size_t)x / 8] >> (7 - x % 8)) & 1;
  return IsDarkEntry(p->file.bytes + 54 + 4 * index);
}

/* Reads and checks a BMP as the library writes it: the file header, the 40-byte information
 * header, one bit per pixel, the two-entry table, the rows. */
static int ReadOneBitBmp(const char* path, int width, int height, OneBitPicture* picture) {
  const size_t rowBytes = ((size_t)width + 31) / 32 * 4;
  const size_t image = rowBytes * (size_t)height;
  const FileBytes f = ReadWholeFile(path);
  picture->file = f;
  picture->width = width;
  picture->height = height;
  CHECK(f.bytes != NULL && f.size == 62 + image, "BMP size: %s: %u bytes, %u expected", path, (unsigned)f.size,
        (unsigned)(62 + image));
  if (f.bytes == NULL || f.size != 62 + image) return 0;
  const unsigned char* b = f.bytes;
  const int headerOk = b[0] == 'B' && b[1] == 'M' && U32(b, 2) == f.size && U32(b, 10) == 62 && U32(b, 14) == 40 &&
                       I32(b, 18) == width && I32(b, 22) == height && U16(b, 26) == 1 && U16(b, 28) == 1 &&
                       U32(b, 30) == 0 && U32(b, 34) == image;
  CHECK(headerOk, "BMP headers: 'BM', 40-byte header, one plane, 1 bit per pixel, no compression: %s", path);
  return headerOk;
}

static void FreePicture(OneBitPicture* picture) {
  free(picture->file.bytes);
  picture->file.bytes = NULL;
}

static long CountDarkPixels(const OneBitPicture* p) {
  long dark = 0;
  for (int y = 0; y < p->height; ++y)
    for (int x = 0; x < p->width; ++x) dark += PixelIsDark(p, x, y);
  return dark;
}

static int CountRowsWithDark(const OneBitPicture* p) {
  int rows = 0;
  for (int y = 0; y < p->height; ++y) {
    int any = 0;
    for (int x = 0; x < p->width && !any; ++x) any = PixelIsDark(p, x, y);
    rows += any;
  }
  return rows;
}

/* ---- The checks ------------------------------------------------------------------------------ */

static int LoadExports(const char* dllPath) {
  const HMODULE dll = LoadLibraryA(dllPath);
  CHECK(dll != NULL, "LoadLibrary: %s: error %lu", dllPath, GetLastError());
  if (dll == NULL) return 0;
  int all = 1;
#define RESOLVE(name)                                                      \
  {                                                                        \
    const FARPROC address = GetProcAddress(dll, #name);                    \
    CHECK(address != NULL, "export by its plain name: %s", #name);       \
    if (address != NULL) memcpy(&vn.name, &address, sizeof address);       \
    all = all && address != NULL;                                          \
  }
  ALL_EXPORTS(RESOLVE)
#undef RESOLVE
  /* Undecorated means no stdcall decoration either way. */
  CHECK(GetProcAddress(dll, "VnSetSize@8") == NULL && GetProcAddress(dll, "_VnSetSize@8") == NULL,
        "no decorated export names");
  return all;
}

static void CheckBmpFiles(const char* folder) {
  static const int widths[] = {300, 1, 32, 33};
  char path[MAX_PATH];
  for (size_t i = 0; i < sizeof widths / sizeof widths[0]; ++i) {
    vn.VnSetDefault();
    vn.VnSetSize(widths[i], 200);
    JoinPath(path, sizeof path, folder, "header.bmp");
    CHECK(vn.VnSaveAsBMP(path) == 1, "VnSaveAsBMP returns 1: width %d", widths[i]);
    OneBitPicture picture;
    if (ReadOneBitBmp(path, widths[i], 200, &picture) && widths[i] == 300) {
      const long dark = CountDarkPixels(&picture);
      CHECK(IsDarkEntry(picture.file.bytes + 54) != IsDarkEntry(picture.file.bytes + 58),
            "the colour table holds a dark and a light colour");
      CHECK(dark > 0 && dark < 300L * 200, "the default picture has bars on a background: %ld dark", dark);
    }
    FreePicture(&picture);
  }
}

static void CheckPlaceableHeader(const unsigned char* b, int width, int height, int unitsPerInch) {
  unsigned checksum = 0;
  for (size_t at = 0; at < 20; at += 2) checksum ^= U16(b, at);
  CHECK(U32(b, 0) == 0x9AC6CDD7u && U16(b, 4) == 0 && U16(b, 6) == 0 && U16(b, 8) == 0 &&
            U16(b, 10) == (unsigned)width && U16(b, 12) == (unsigned)height && U32(b, 16) == 0,
        "placeable header: key, handle, bounding box, reserved");
  CHECK(U16(b, 14) == (unsigned)unitsPerInch, "placeable header: units per inch: %u, %d expected", U16(b, 14),
        unitsPerInch);
  CHECK(U16(b, 20) == checksum, "placeable header: checksum: %04X, %04X expected", U16(b, 20), checksum);
}

static void CheckWmfFile(const char* folder) {
  char path[MAX_PATH];
  JoinPath(path, sizeof path, folder, "picture.wmf");
  vn.VnSetDefault();
  CHECK(vn.VnSaveAsWMF(path) == 1, "VnSaveAsWMF returns 1");
  FileBytes f = ReadWholeFile(path);
  CHECK(f.bytes != NULL && f.size > 22 + 18, "WMF file written: %u bytes", (unsigned)f.size);
  if (f.bytes == NULL || f.size <= 22 + 18) {
    free(f.bytes);
    return;
  }
  /* Without a chosen resolution the library lays out at the screen's own. */
  CheckPlaceableHeader(f.bytes, 300, 200, ScreenCaps(LOGPIXELSX));
  const unsigned char* meta = f.bytes + 22;
  CHECK(U16(meta, 0) == 1 && U16(meta, 2) == 9 && U16(meta, 4) == 0x0300 &&
            (size_t)U32(meta, 6) * 2 == f.size - 22,
        "metafile header: memory metafile, nine words, version 3, size in words");
  const HMETAFILE metafile = SetMetaFileBitsEx((UINT)(f.size - 22), meta);
  CHECK(metafile != NULL, "the platform takes the metafile bits back");
  if (metafile != NULL) DeleteMetaFile(metafile);
  free(f.bytes);
}

/* The worked values of the header: 300 by 200 at 96 and at 120 pixels per inch. */
static void CheckWmfHeaderAtChosenResolutions(const char* folder) {
  static const struct {
    int dpi;
    unsigned char header[22];
  } worked[] = {
      {96, {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x2C, 0x01, 0xC8, 0, 0x60, 0, 0, 0, 0, 0, 0x95, 0x56}},
      {120, {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x2C, 0x01, 0xC8, 0, 0x78, 0, 0, 0, 0, 0, 0x8D, 0x56}},
  };
  char path[MAX_PATH];
  JoinPath(path, sizeof path, folder, "chosen.wmf");
  for (size_t i = 0; i < sizeof worked / sizeof worked[0]; ++i) {
    vn.VnSetDefault();
    vn.VnSetScreenResolution(worked[i].dpi, worked[i].dpi);
    CHECK(vn.VnSaveAsWMF(path) == 1, "VnSaveAsWMF returns 1: at %d dpi", worked[i].dpi);
    FileBytes f = ReadWholeFile(path);
    CHECK(f.size >= 22 && memcmp(f.bytes, worked[i].header, 22) == 0, "placeable header byte for byte: at %d dpi",
          worked[i].dpi);
    free(f.bytes);
  }
}

/* The bounds of the enhanced metafile on the clipboard, or an empty rectangle when there is none. */
static RECTL ClipboardMetafileBounds(void) {
  RECTL bounds = {0, 0, -1, -1};
  if (!OpenClipboard(NULL)) return bounds;
  const HENHMETAFILE metafile = (HENHMETAFILE)GetClipboardData(CF_ENHMETAFILE);
  ENHMETAHEADER header;
  if (metafile != NULL && GetEnhMetaFileHeader(metafile, sizeof header, &header) == sizeof header &&
      header.iType == EMR_HEADER && header.dSignature == ENHMETA_SIGNATURE)
    bounds = header.rclBounds;
  CloseClipboard();
  return bounds;
}

static void CheckClipboard(void) {
  vn.VnSetDefault();
  CHECK(vn.VnCopyToClipboard() == 1, "VnCopyToClipboard returns 1");
  CHECK(IsClipboardFormatAvailable(CF_ENHMETAFILE), "the clipboard offers an enhanced metafile");
  /* The background fill covers the picture, so the metafile's bounds are its cells. */
  const RECTL bounds = ClipboardMetafileBounds();
  CHECK(bounds.left == 0 && bounds.top == 0 && bounds.right == 299 && bounds.bottom == 199,
        "the enhanced metafile's bounds are the picture's cells: %ld,%ld,%ld,%ld", bounds.left, bounds.top,
        bounds.right, bounds.bottom);
  /* The host gets the same metafile back: the header record first, its size the metafile's. */
  const int size = vn.VnGetClipboardEMF(NULL, 0);
  unsigned char* bytes = size > 88 ? malloc((size_t)size) : NULL;
  CHECK(bytes != NULL && vn.VnGetClipboardEMF(bytes, size) == size && U32(bytes, 0) == EMR_HEADER &&
            U32(bytes, 40) == ENHMETA_SIGNATURE && U32(bytes, 48) == (uint32_t)size,
        "VnGetClipboardEMF copies out the clipboard's enhanced metafile: %d bytes", size);
  free(bytes);
}

/* Another program holds the clipboard open: the export fails and the clipboard keeps what it had. */
static void CheckHeldClipboard(const char* self) {
  /* The child inherits the two events and finds them named on its command line. */
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, NULL, TRUE};
  const HANDLE ready = CreateEventA(&inheritable, TRUE, FALSE, NULL);
  const HANDLE release = CreateEventA(&inheritable, TRUE, FALSE, NULL);
  char command[2 * MAX_PATH];
  snprintf(command, sizeof command, "\"%s\" --hold-clipboard %lu %lu", self, (unsigned long)(UINT_PTR)ready,
           (unsigned long)(UINT_PTR)release);
  STARTUPINFOA startup;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child;
  const BOOL started = CreateProcessA(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &child);
  CHECK(started, "a second program starts to hold the clipboard: error %lu", GetLastError());
  if (started) {
    /* Ready, or gone without holding it. */
    const HANDLE either[2] = {ready, child.hProcess};
    const DWORD waited = WaitForMultipleObjects(2, either, FALSE, 20000);
    CHECK(waited == WAIT_OBJECT_0, "the second program holds the clipboard");
    if (waited == WAIT_OBJECT_0) {
      vn.VnSetDefault();
      vn.VnSetSize(500, 100);
      CHECK(vn.VnCopyToClipboard() == 0, "VnCopyToClipboard returns 0 while another program holds the clipboard");
    }
    SetEvent(release);
    WaitForSingleObject(child.hProcess, 20000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    const RECTL bounds = ClipboardMetafileBounds();
    CHECK(bounds.right == 299 && bounds.bottom == 199, "the clipboard keeps the metafile it had: %ld,%ld",
          bounds.right, bounds.bottom);
  }
  CloseHandle(ready);
  CloseHandle(release);
}

static int HoldClipboard(const char* readyHandle, const char* releaseHandle) {
  const HANDLE ready = (HANDLE)(UINT_PTR)strtoul(readyHandle, NULL, 10);
  const HANDLE release = (HANDLE)(UINT_PTR)strtoul(releaseHandle, NULL, 10);
  /* Opened for a window of its own, as an application holds it. */
  const HWND window = CreateWindowExA(0, "STATIC", "clipboard holder", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
  if (window == NULL || !OpenClipboard(window)) return 1;
  SetEvent(ready);
  WaitForSingleObject(release, 30000);
  CloseClipboard();
  DestroyWindow(window);
  return 0;
}

static int CountTemporaries(const char* folder) {
  char pattern[MAX_PATH];
  JoinPath(pattern, sizeof pattern, folder, "*.tmp");
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

static void CheckFileRules(const char* folder) {
  char path[MAX_PATH], missing[MAX_PATH], sub[MAX_PATH];
  static char old[100000];
  memset(old, 'x', sizeof old);

  /* An existing file is replaced whole. */
  JoinPath(path, sizeof path, folder, "replaced.bmp");
  WriteWholeFile(path, old, sizeof old);
  vn.VnSetDefault();
  CHECK(vn.VnSaveAsBMP(path) == 1, "VnSaveAsBMP over an existing file returns 1");
  FileBytes f = ReadWholeFile(path);
  CHECK(f.size == 8062 && f.bytes[0] == 'B', "the old file is replaced entirely: %u bytes", (unsigned)f.size);
  free(f.bytes);

  /* A folder that does not exist: nothing can be written, and the export says so. */
  JoinPath(missing, sizeof missing, folder, "missing\\picture.bmp");
  CHECK(vn.VnSaveAsBMP(missing) == 0 && !Exists(missing), "VnSaveAsBMP into a missing folder returns 0");
  JoinPath(missing, sizeof missing, folder, "missing\\picture.wmf");
  CHECK(vn.VnSaveAsWMF(missing) == 0 && !Exists(missing), "VnSaveAsWMF into a missing folder returns 0");

  /* A picture the format cannot hold leaves the old file as it was. */
  JoinPath(path, sizeof path, folder, "kept.wmf");
  WriteWholeFile(path, old, sizeof old);
  vn.VnSetSize(40000, 10);
  CHECK(vn.VnSaveAsWMF(path) == 0, "VnSaveAsWMF of a picture wider than 32767 returns 0");
  f = ReadWholeFile(path);
  CHECK(f.size == sizeof old && memcmp(f.bytes, old, sizeof old) == 0, "the old file stays as it was");
  free(f.bytes);

  /* A folder at the path is not replaced. */
  JoinPath(sub, sizeof sub, folder, "folder.bmp");
  CreateDirectoryA(sub, NULL);
  vn.VnSetDefault();
  CHECK(vn.VnSaveAsBMP(sub) == 0 && IsFolder(sub), "VnSaveAsBMP onto a folder returns 0 and keeps the folder");

  /* A read-only, hidden file held open by a program that lets nobody delete it: the new file is
   * written and flushed, the move fails, and the old file stays as it was, read-only still. */
  JoinPath(path, sizeof path, folder, "read-only.bmp");
  WriteWholeFile(path, old, sizeof old);
  const DWORD readOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  SetFileAttributesA(path, readOnlyHidden);
  const HANDLE held = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  CHECK(vn.VnSaveAsBMP(path) == 0, "VnSaveAsBMP over a file held open without sharing its deletion returns 0");
  CloseHandle(held);
  f = ReadWholeFile(path);
  CHECK(f.size == sizeof old && memcmp(f.bytes, old, sizeof old) == 0 &&
            (GetFileAttributesA(path) & readOnlyHidden) == readOnlyHidden,
        "the old file stays as it was, read-only and hidden: %u bytes", (unsigned)f.size);
  free(f.bytes);

  /* Let go, it is replaced, as sed -i replaces a read-only file, and the new file keeps those. */
  CHECK(vn.VnSaveAsBMP(path) == 1, "VnSaveAsBMP over a read-only file returns 1");
  f = ReadWholeFile(path);
  CHECK(f.size == 8062 && (GetFileAttributesA(path) & readOnlyHidden) == readOnlyHidden,
        "the read-only file is replaced and the new one is read-only and hidden: %u bytes", (unsigned)f.size);
  free(f.bytes);
  SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);

  CHECK(CountTemporaries(folder) == 0, "no temporary file is left behind: %d left", CountTemporaries(folder));
}

static int IsLink(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

/* A symbolic link at the path: the file it names is replaced and the link stays; a dangling one is
 * refused and stays. Wine's CreateSymbolicLink makes nothing (and says it did), and Wine shows the
 * links of the file system below it as the files they name: there this is said and not checked. */
static void CheckLinks(const char* folder) {
  char link[MAX_PATH], linked[MAX_PATH], dangling[MAX_PATH], nowhere[MAX_PATH];
  JoinPath(link, sizeof link, folder, "link.bmp");
  JoinPath(linked, sizeof linked, folder, "linked.bmp");
  JoinPath(dangling, sizeof dangling, folder, "dangling.bmp");
  JoinPath(nowhere, sizeof nowhere, folder, "nowhere.bmp");
  WriteWholeFile(linked, "old", 3);
  CreateSymbolicLinkA(link, "linked.bmp", SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  CreateSymbolicLinkA(dangling, "nowhere.bmp", SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  if (!IsLink(link) || !IsLink(dangling)) {
    printf("links not checked: the platform made no symbolic link\n");
    return;
  }
  vn.VnSetDefault();
  CHECK(vn.VnSaveAsBMP(link) == 1 && IsLink(link), "VnSaveAsBMP through a symbolic link returns 1, the link stays");
  FileBytes f = ReadWholeFile(linked);
  CHECK(f.size == 8062 && f.bytes[0] == 'B', "the file the link names is replaced: %u bytes", (unsigned)f.size);
  free(f.bytes);
  CHECK(vn.VnSaveAsBMP(dangling) == 0 && IsLink(dangling) && !Exists(nowhere),
        "VnSaveAsBMP through a dangling link returns 0, the link stays and nothing is created");
}

/* Milliseconds since an arbitrary start, finer than GetTickCount's steps. */
static double Milliseconds(void) {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * (double)count.QuadPart / (double)frequency.QuadPart;
}

/* No file can be had without a name, so no picture is drawn for one: "" and NULL are refused in
 * far less time than a large picture takes to draw and save. */
static void CheckNamelessSave(const char* folder) {
  char path[MAX_PATH];
  JoinPath(path, sizeof path, folder, "large.bmp");
  vn.VnSetDefault();
  vn.VnSetSize(2000, 2000);
  double start = Milliseconds();
  CHECK(vn.VnSaveAsBMP(path) == 1, "VnSaveAsBMP of a large picture returns 1");
  const double drawn = Milliseconds() - start;
  start = Milliseconds();
  const int refused = vn.VnSaveAsBMP("") == 0 && vn.VnSaveAsBMP(NULL) == 0;
  const double nameless = Milliseconds() - start;
  CHECK(refused && nameless * 4 < drawn, "\"\" and NULL are refused before drawing: in %.1f ms, %.1f ms to draw",
        nameless, drawn);
}

/* Text is drawn by the platform: with it on, rows below the bars hold the digits. */
static void CheckTextIsDrawn(const char* folder) {
  char path[MAX_PATH];
  JoinPath(path, sizeof path, folder, "text.bmp");
  int rows[2] = {0, 0};
  for (int showText = 0; showText <= 1; ++showText) {
    vn.VnSetDefault();
    vn.VnSetMessage("590123412345");
    vn.VnBasicInfo(7, 0.07, 2.0, 0, 0);
    vn.VnTextInfo(showText, 0, 0);
    CHECK(vn.VnSaveAsBMP(path) == 1, "VnSaveAsBMP returns 1: text %d", showText);
    OneBitPicture picture;
    if (ReadOneBitBmp(path, 300, 200, &picture)) rows[showText] = CountRowsWithDark(&picture);
    FreePicture(&picture);
  }
  CHECK(rows[1] > rows[0], "printed text adds dark rows below the bars: %d rows with text, %d without", rows[1],
        rows[0]);
}

/* A context of the host's own draws what the default context draws with the same settings, and
 * its refusals are its own. */
static void CheckContext(const char* folder) {
  char classic[MAX_PATH], own[MAX_PATH];
  JoinPath(classic, sizeof classic, folder, "classic.bmp");
  JoinPath(own, sizeof own, folder, "context.bmp");
  VnContext* const context = vn.VnCreateContext();
  CHECK(context != NULL, "VnCreateContext returns a context");
  if (context == NULL) return;
  vn.VnSetDefault();
  vn.VnBasicInfo(7, 0.05, 2.5, 1, 2);
  vn.VnSetMessage("590123412345");
  vn.VnSupplementInfo(2, "52495", 0.5);
  vn.VnCtxBasicInfo(context, 7, 0.05, 2.5, 1, 2);
  vn.VnCtxSetMessage(context, "590123412345");
  vn.VnCtxSupplementInfo(context, 2, "52495", 0.5);
  CHECK(vn.VnSaveAsBMP(classic) == 1 && vn.VnCtxSaveAsBMP(context, own) == 1,
        "VnSaveAsBMP and VnCtxSaveAsBMP return 1");
  FileBytes expected = ReadWholeFile(classic), drawn = ReadWholeFile(own);
  CHECK(expected.size > 62 && drawn.size == expected.size && memcmp(drawn.bytes, expected.bytes, drawn.size) == 0,
        "the context's BMP is the classic export's: %u bytes, %u expected", (unsigned)drawn.size,
        (unsigned)expected.size);
  free(expected.bytes);
  free(drawn.bytes);

  vn.VnCtxSetMessage(context, "12");
  int length = -1, thickness = -1;
  CHECK(vn.VnCtxMeasure(context, &length, &thickness) == 0 && length == 0 && thickness == 0,
        "VnCtxMeasure refuses two digits of EAN-13 with sizes 0: %d, %d", length, thickness);
  CHECK(strcmp(vn.VnCtxGetLastError(context), "12 digits are required.") == 0, "VnCtxGetLastError: \"%s\"",
        vn.VnCtxGetLastError(context));
  /* The default context measures its own data, and its last error is its own. */
  CHECK(vn.VnMeasure(&length, &thickness) == 1 && length > 0 && thickness > 0 && vn.VnGetLastError()[0] == '\0',
        "VnMeasure takes the default context's EAN-13: %d by %d, \"%s\"", length, thickness, vn.VnGetLastError());
  vn.VnDestroyContext(context);
}

/* The memory output hands over the bytes the file export of its format writes, GDI's own BMP and
 * metafiles included, on the default context and on a context of the host's own; writes nothing
 * into a buffer too small and nothing past the picture into one large enough. */
static void CheckMemoryOutput(const char* folder) {
  typedef struct {
    const char* name;
    int format;
    VnBool(VN_CALL* save)(const char*);
    VnBool(VN_CALL* saveOnContext)(VnContext*, const char*);
  } Format;
  const Format formats[] = {{"BMP", VN_FORMAT_BMP, vn.VnSaveAsBMP, vn.VnCtxSaveAsBMP},
                            {"WMF", VN_FORMAT_WMF, vn.VnSaveAsWMF, vn.VnCtxSaveAsWMF},
                            {"EMF", VN_FORMAT_EMF, vn.VnSaveAsEMF, vn.VnCtxSaveAsEMF},
                            {"SVG", VN_FORMAT_SVG, vn.VnSaveAsSVG, vn.VnCtxSaveAsSVG},
                            {"PNG", VN_FORMAT_PNG, vn.VnSaveAsPNG, vn.VnCtxSaveAsPNG}};
  enum { kGuard = 64, kCanary = 0xA5 };
  char path[MAX_PATH];
  JoinPath(path, sizeof path, folder, "memory");
  VnContext* const context = vn.VnCreateContext();
  CHECK(context != NULL, "VnCreateContext returns a context");
  if (context == NULL) return;
  for (int setting = 0; setting < 3; ++setting) {
    vn.VnSetDefault();
    vn.VnCtxSetDefault(context);
    if (setting == 1) {
      vn.VnBasicInfo(7, 0.05, 2.5, 1, 1);
      vn.VnSetMessage("590123412345");
      vn.VnSetBarHeight(2.2);
      vn.VnCtxBasicInfo(context, 7, 0.05, 2.5, 1, 1);
      vn.VnCtxSetMessage(context, "590123412345");
      vn.VnCtxSetBarHeight(context, 2.2);
    } else if (setting == 2) {
      vn.VnBasicInfo(8, 0.05, 2.5, 0, 2);
      vn.VnSetMessage("12");
      vn.VnCtxBasicInfo(context, 8, 0.05, 2.5, 0, 2);
      vn.VnCtxSetMessage(context, "12");
    }
    for (size_t f = 0; f < sizeof formats / sizeof formats[0]; ++f) {
      for (int onContext = 0; onContext <= 1; ++onContext) {
        const Format* format = &formats[f];
        const int saved = onContext ? format->saveOnContext(context, path) : format->save(path);
        CHECK(saved == 1, "%s file saved: setting %d, context %d", format->name, setting, onContext);
        FileBytes file = ReadWholeFile(path);
        const int size = onContext ? vn.VnCtxRenderToMemory(context, format->format, NULL, 0)
                                   : vn.VnRenderToMemory(format->format, NULL, 0);
        CHECK(size > 0 && (size_t)size == file.size, "%s in memory is the file's size: %d, %u expected, setting %d",
              format->name, size, (unsigned)file.size, setting);
        if (size <= 0) {
          free(file.bytes);
          continue;
        }
        unsigned char* buffer = malloc((size_t)size + kGuard);
        if (buffer == NULL) {
          free(file.bytes);
          continue;
        }
        memset(buffer, kCanary, (size_t)size + kGuard);
        const int small = onContext ? vn.VnCtxRenderToMemory(context, format->format, buffer, size - 1)
                                    : vn.VnRenderToMemory(format->format, buffer, size - 1);
        int untouched = 1;
        for (int i = 0; i < size + kGuard; ++i) untouched = untouched && buffer[i] == kCanary;
        CHECK(small == size && untouched, "%s: a buffer one byte short is left as it was", format->name);
        const int copied = onContext ? vn.VnCtxRenderToMemory(context, format->format, buffer, size + kGuard)
                                     : vn.VnRenderToMemory(format->format, buffer, size + kGuard);
        int guarded = 1;
        for (int i = size; i < size + kGuard; ++i) guarded = guarded && buffer[i] == kCanary;
        CHECK(copied == size && file.size == (size_t)size && memcmp(buffer, file.bytes, file.size) == 0 && guarded,
              "%s in memory is the file's bytes and no more: setting %d, context %d", format->name, setting,
              onContext);
        free(buffer);
        free(file.bytes);
      }
    }
  }
  unsigned char buffer[256];
  memset(buffer, kCanary, sizeof buffer);
  CHECK(vn.VnCtxRenderToMemory(NULL, VN_FORMAT_BMP, buffer, sizeof buffer) == 0 && buffer[0] == kCanary,
        "a NULL context is refused and nothing written");
  vn.VnDestroyContext(context);
}

/* Taller bars darken more rows of the BMP; a transparent background is the PNG's and the SVG's, so
 * the BMP and the metafiles stay as they were. */
static void CheckBarHeightAndTransparency(const char* folder) {
  char path[MAX_PATH];
  JoinPath(path, sizeof path, folder, "height.bmp");
  int rows[2] = {0, 0};
  for (int taller = 0; taller <= 1; ++taller) {
    vn.VnSetDefault();
    vn.VnTextInfo(0, 0, 0);
    vn.VnSetBarHeight(taller ? 3.0 : 1.0);
    CHECK(vn.VnSaveAsBMP(path) == 1, "VnSaveAsBMP returns 1: bar height %d", taller);
    OneBitPicture picture;
    if (ReadOneBitBmp(path, 300, 200, &picture)) rows[taller] = CountRowsWithDark(&picture);
    FreePicture(&picture);
  }
  CHECK(rows[1] > rows[0] * 2, "bars of 3 cm are taller than twice bars of 1 cm: %d rows, %d rows", rows[1], rows[0]);

  const int formats[] = {VN_FORMAT_BMP, VN_FORMAT_WMF, VN_FORMAT_EMF};
  for (size_t f = 0; f < 3; ++f) {
    FileBytes pictures[2] = {{NULL, 0}, {NULL, 0}};
    for (int transparent = 0; transparent <= 1; ++transparent) {
      vn.VnSetDefault();
      vn.VnSetTransparentBackground(transparent);
      const int size = vn.VnRenderToMemory(formats[f], NULL, 0);
      pictures[transparent].bytes = size > 0 ? malloc((size_t)size) : NULL;
      if (pictures[transparent].bytes != NULL &&
          vn.VnRenderToMemory(formats[f], pictures[transparent].bytes, size) == size)
        pictures[transparent].size = (size_t)size;
    }
    CHECK(pictures[0].size > 0 && pictures[0].size == pictures[1].size &&
              memcmp(pictures[0].bytes, pictures[1].bytes, pictures[0].size) == 0,
          "a transparent background leaves format %d as it was", formats[f]);
    free(pictures[0].bytes);
    free(pictures[1].bytes);
  }
}

/* ---- The bar pictures for the Linux side ----------------------------------------------------- */

/* The enhanced metafile on the clipboard, copied to a file by the platform. */
static int SaveClipboardMetafile(const char* path) {
  if (!OpenClipboard(NULL)) return 0;
  const HENHMETAFILE metafile = (HENHMETAFILE)GetClipboardData(CF_ENHMETAFILE);
  const HENHMETAFILE copy = metafile != NULL ? CopyEnhMetaFileA(metafile, path) : NULL;
  CloseClipboard();
  if (copy == NULL) return 0;
  DeleteEnhMetaFile(copy);
  return 1;
}

typedef struct {
  int symbology;
  const char* data;
  double narrowCm;
  double ratio;
  int frame;
  int addCheckDigit;
  int supplementKind;
  const char* supplement;
  int codabarStart;
  int codabarStop;
  int upceSystem;
} BarCase;

/* Every symbology with its defaults, then the options that change the bars. */
static const BarCase kBarCases[] = {
    {0, "40156", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {1, "123-45", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {2, "Varnel 32", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {3, "VN-32", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {4, "Vn+32", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {5, "CODE 93", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {6, "1234567890", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {7, "590123412345", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {8, "9638507", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {9, "12345678", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {10, "0306406152", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {11, "490123456789", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {12, "4901234", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {13, "123456", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {14, "80523", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {15, "01234567890", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {16, "12345", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {17, "001234567890123456", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {18, "00614141999996", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {19, "03600029145", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {20, "04210000526", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {21, "(01)09501101530003(10)AB12", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {22, "1540014128876", 0.07, 2.0, 0, 0, 0, "", 0, 1, 0},
    {3, "VN-32", 0.07, 2.0, 1, 1, 0, "", 0, 1, 0},
    {2, "Varnel 32", 0.07, 2.0, 2, 0, 0, "", 0, 1, 0},
    {7, "590123412345", 0.07, 2.0, 0, 0, 2, "52495", 0, 1, 0},
    {19, "03600029145", 0.07, 2.0, 0, 0, 1, "12", 0, 1, 0},
    {20, "14210000526", 0.07, 2.0, 0, 0, 0, "", 0, 1, 1},
    {0, "40156", 0.07, 2.0, 0, 0, 0, "", 2, 3, 0},
    {9, "12345678", 0.05, 3.0, 0, 0, 0, "", 0, 1, 0},
    {14, "80523", 0.04, 2.0, 0, 1, 0, "", 0, 1, 0},
    {16, "12345", 0.1, 2.0, 2, 0, 0, "", 0, 1, 0},
};

enum { kBarPictureSize = 640 };

/* The picture in the DLL's BMP, PNG and SVG: stem.bmp, stem.png and stem.svg. */
static void SaveInFileFormats(const char* folder, const char* stem) {
  const struct { const char* extension; VnBool(VN_CALL* save)(const char*); } files[] = {
      {"bmp", vn.VnSaveAsBMP}, {"png", vn.VnSaveAsPNG}, {"svg", vn.VnSaveAsSVG}};
  char path[MAX_PATH], name[64];
  for (size_t f = 0; f < sizeof files / sizeof files[0]; ++f) {
    snprintf(name, sizeof name, "%s.%s", stem, files[f].extension);
    JoinPath(path, sizeof path, folder, name);
    CHECK(files[f].save(path) == 1, "the %s export of a bar picture returns 1: %s", files[f].extension, name);
  }
}

/* bars-NN-O.bmp, .png, .svg and .emf for case NN in orientation O, text-NN-O.bmp, .png and .svg
 * of the same with its text, and the manifest: the resolution,
 * then one line per picture (its BMP's name), its settings in '|'-separated fields
 * with the data last: file|symbology|orientation|narrowCm|ratio|frame|addCheckDigit|supplementKind|
 * supplement|codabarStart|codabarStop|upceSystem|width|height|data. */
static void WriteBarPictures(const char* folder) {
  char path[MAX_PATH], name[64], stem[64];
  JoinPath(path, sizeof path, folder, "manifest.txt");
  FILE* manifest = fopen(path, "wb");  /* lines end in LF alone, as the Linux side reads them */
  CHECK(manifest != NULL, "manifest opened: %s", path);
  if (manifest == NULL) return;
  fprintf(manifest, "resolution|%d|%d\n", ScreenCaps(LOGPIXELSX), ScreenCaps(LOGPIXELSY));
  for (size_t i = 0; i < sizeof kBarCases / sizeof kBarCases[0]; ++i) {
    const BarCase* c = &kBarCases[i];
    for (int orientation = 0; orientation < 4; ++orientation) {
      snprintf(stem, sizeof stem, "bars-%02u-%d", (unsigned)i, orientation);
      snprintf(name, sizeof name, "%s.bmp", stem);
      vn.VnSetDefault();
      vn.VnSetSize(kBarPictureSize, kBarPictureSize);
      vn.VnSetMessage(c->data);
      vn.VnTextInfo(0, c->addCheckDigit, 0);
      vn.VnCodaBarInfo(c->codabarStart, c->codabarStop);
      vn.VnUPCESystem(c->upceSystem);
      vn.VnSupplementInfo(c->supplementKind, c->supplement, 0.5);
      vn.VnBasicInfo(c->symbology, c->narrowCm, c->ratio, orientation, c->frame);
      vn.VnSetSymbology(c->symbology);
      SaveInFileFormats(folder, stem);
      JoinPath(path, sizeof path, folder, stem);
      strcat(path, ".emf");
      CHECK(vn.VnCopyToClipboard() == 1 && SaveClipboardMetafile(path), "the clipboard's metafile of %s", name);
      vn.VnTextInfo(1, c->addCheckDigit, 0);
      snprintf(stem, sizeof stem, "text-%02u-%d", (unsigned)i, orientation);
      SaveInFileFormats(folder, stem);
      fprintf(manifest, "%s|%d|%d|%.4f|%.4f|%d|%d|%d|%s|%d|%d|%d|%d|%d|%s\n", name, c->symbology, orientation,
              c->narrowCm, c->ratio, c->frame, c->addCheckDigit, c->supplementKind, c->supplement, c->codabarStart,
              c->codabarStop, c->upceSystem, kBarPictureSize, kBarPictureSize, c->data);
    }
  }
  CHECK(fclose(manifest) == 0, "manifest written");
}

int main(int argc, char** argv) {
  if (argc == 4 && strcmp(argv[1], "--hold-clipboard") == 0) return HoldClipboard(argv[2], argv[3]);
  if (argc != 3) {
    fprintf(stderr, "usage: %s <Varnel32.dll> <folder>\n", argv[0]);
    return 2;
  }
  const char* folder = argv[2];
  CreateDirectoryA(folder, NULL);
  if (LoadExports(argv[1])) {
    /* The default resolution (the screen's) first: a chosen one stays chosen. */
    WriteBarPictures(folder);
    CheckBmpFiles(folder);
    CheckWmfFile(folder);
    CheckClipboard();
    CheckHeldClipboard(argv[0]);
    CheckFileRules(folder);
    CheckLinks(folder);
    CheckNamelessSave(folder);
    CheckTextIsDrawn(folder);
    CheckContext(folder);
    CheckMemoryOutput(folder);
    CheckBarHeightAndTransparency(folder);
    CheckWmfHeaderAtChosenResolutions(folder);
  }
  return ChecksExitCode();
}
