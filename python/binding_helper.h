/* The Python binding's helper: the tool's own step from a barcode's options to a library context
 * ready to draw it (tools/barcode_setup.h), with the catalogue's symbology names and the lengths
 * the tool reads, as a C interface for ctypes. The binding checks each option's type and range;
 * the helper adds no rule of its own, so a barcode drawn from Python is the one the tool draws
 * from the same options. Like any export, each function checks what it is given: a description
 * with a field out of the range the tool's command line keeps it to (or a null pointer where one
 * is needed) is refused with a message naming the field, never drawn. */
#ifndef VARNEL32_BINDING_HELPER_H
#define VARNEL32_BINDING_HELPER_H

#include "varnel32.h"

#ifdef __GNUC__
#define VNB_EXPORT __attribute__((visibility("default")))
#else
#define VNB_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A length as the tool reads one, "0.33mm" or "9pt": unit VNB_NO_LENGTH for none. */
#define VNB_NO_LENGTH (-1)
#define VNB_PIXELS 0
typedef struct VnbLength {
  double value;
  int unit;
} VnbLength;

/* Every option of one barcode, as the tool's command line gives them. */
typedef struct VnbBarcode {
  int symbology;
  const char* data; /* dataSize bytes: UTF-8 text, or the library's own bytes when `raw` */
  int dataSize;
  int raw;
  const char* addOn; /* addOnSize bytes of UTF-8; 0 for none */
  int addOnSize;
  int width; /* the picture in pixels; both 0 for the fitted picture */
  int height;
  int quietZone; /* in narrow widths; -1 for the symbology's own */
  double narrowWidthCm;
  VnbLength xDimension; /* when set, the narrow width instead of narrowWidthCm */
  VnbLength barHeight;  /* unset: the library's 1.5 cm */
  VnbLength fontHeight; /* unset: the symbology's print size at the resolution, at least 24 pixels */
  double wideRatio;
  int orientation; /* 0..3 */
  int frame;       /* 0..2 */
  const char* fontFace;
  int showText;
  int checkCharacter; /* 1 or 0; -1 for the symbology's convention */
  int checkCharacterInText;
  int codabarStart; /* 0..3 */
  int codabarStop;
  int upceSystem; /* 0 or 1; -1 for the number's, else 0 */
  double addOnGapCm; /* 0 for the standard's 9 narrow widths */
  int barColor[3];
  int backColor[3];
  int transparentBackground;
  int dpiX;
  int dpiY;
} VnbBarcode;

/* The version of the library the helper is built with, CMakeLists.txt's project version. */
VNB_EXPORT const char* VnbVersion(void);

/* The name of a symbology number, from the library's catalogue; NULL past the last. */
VNB_EXPORT const char* VnbSymbologyName(int number);

/* The symbology a name or number names, in any case and with or without '-', '_' or spaces, as
 * the tool's --symbology takes it; -1 for none. */
VNB_EXPORT int VnbFindSymbology(const char* text);

/* What a length is for, which decides the units it takes and whether a bare number is pixels. */
#define VNB_NARROW_WIDTH 0 /* as --x-dim takes it */
#define VNB_FONT_HEIGHT 1  /* as --font-height takes it */
#define VNB_BAR_HEIGHT 2   /* as --bar-height takes it */

/* Reads a length as the tool's option for `kind` takes it. Returns 1, or 0 for text that is not
 * one, or an unknown kind. */
VNB_EXPORT int VnbParseLength(const char* text, int kind, VnbLength* length);

/* Whether the data and add-on become the library's: 1; else 0, with why in `message` (UTF-8,
 * NUL-terminated, cut to `messageSize`). Nothing is drawn. */
VNB_EXPORT int VnbCheckData(const VnbBarcode* barcode, char* message, int messageSize);

/* Sets the barcode on the context and gives the picture's size. Returns 1 when the data is drawn,
 * with the tool's warnings in `message`, one a line (empty for none); 0 when the library refuses
 * the data and -1 when it is refused before that (see VnbCheckData), with the message in
 * `message`, in UTF-8. Nothing is drawn: the context's outputs draw it. The screen resolution is
 * set too, which is the process's: a caller with threads keeps barcodes of other resolutions
 * apart. */
VNB_EXPORT int VnbSetUp(VnContext* context, const VnbBarcode* barcode, int* width, int* height, char* message,
                       int messageSize);

/* VnbSetUp, then, when it returns 1, the picture in `format` into `buffer` as VnCtxRenderToMemory
 * renders it, its answer in `length`: the binding's commonest step in one call. Returns as
 * VnbSetUp does. */
VNB_EXPORT int VnbRenderToMemory(VnContext* context, const VnbBarcode* barcode, int format, void* buffer,
                                 int bufferSize, int* width, int* height, int* length, char* message,
                                 int messageSize);

#ifdef __cplusplus
}
#endif

#endif /* VARNEL32_BINDING_HELPER_H */
