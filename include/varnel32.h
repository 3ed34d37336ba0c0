/* Varnel32: one-dimensional barcodes drawn into BMP files, metafiles and the clipboard.
 *
 * A host describes the barcode with the setters, in any order, then asks for the picture with an
 * output export. Settings are process-wide and stay in force until set again; call VnSetDefault
 * first. These exports share one process-wide context: call them from one thread at a time, or give
 * each thread a context of its own (see Contexts below).
 *
 * Texts are NUL-terminated 8-bit strings that the library copies; a text longer than its field is
 * cut to the field (999 bytes of data, 11 add-on digits, 31 characters of face name). A NULL text
 * is taken as the empty text.
 */
#ifndef VARNEL32_H
#define VARNEL32_H

/* Every export's calling convention: __stdcall in the 32-bit Windows DLL, as Windows' own exports
 * have it; x64 Windows has a single convention, and other systems their C one. */
#if defined(_WIN32) && !defined(_WIN64)
#define VN_CALL __stdcall
#else
#define VN_CALL
#endif

#if defined(VARNEL32_BUILDING) && defined(__GNUC__)
#define VN_EXPORT __attribute__((visibility("default")))
#else
#define VN_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* An 8-bit boolean: 1 for success, 0 for failure. */
typedef unsigned char VnBool;

/* ---- Settings -------------------------------------------------------------------------------- */

/* Symbology 0 Codabar, 1 Code 11, 2 Code 128, 3 Code 39, 4 Code 39 full ASCII, 5 Code 93,
 * 6 UCC/EAN-128 all-numeric, 7 EAN-13, 8 EAN-8, 9 Interleaved 2 of 5, 10 ISBN, 11 JAN-13, 12 JAN-8,
 * 13 Matrix 2 of 5, 14 MSI, 15 PLANET, 16 POSTNET, 17 SSCC-18, 18 UCC/EAN-128 AI 01, 19 UPC-A,
 * 20 UPC-E; and, chosen with VnSetSymbology alone, 21 GS1-128 and 22 ITF-14. */

/* Data "1234", 300 x 200 pixels, narrow bar 0.07 cm, ratio 2.0, bars 1.5 cm tall, orientation 0,
 * no frame, text on, no optional check character, Codabar A...B, UPC-E number system 0, no add-on
 * (gap 0.5 cm), Arial 24, black bars on white. */
VN_EXPORT void VN_CALL VnSetDefault(void);
/* Picture size in pixels; a value of 0 or less sets 300 (width) or 200 (height). */
VN_EXPORT void VN_CALL VnSetSize(int width, int height);
/* The data to encode, bytes kept as they are. */
VN_EXPORT void VN_CALL VnSetMessage(const char* data);
/* Face name and height of the text font; a positive height is the cell height, a negative one
 * the character height, in pixels. A height of 0 or below leaves the text no room, so no text is
 * drawn; the bars keep their height, but the centring still counts a text band of the height minus
 * 4 below them, which moves them down (out of the picture for a large negative height). The BMP
 * draws a height beyond 2048 pixels at 2048; the metafiles record it as given. */
VN_EXPORT void VN_CALL VnFontInfo(const char* faceName, int fontHeight);
/* Nonzero values switch on: printing the text, the optional check character(s), and printing them. */
VN_EXPORT void VN_CALL VnTextInfo(int showText, int addCheckDigit, int checkDigitInText);
/* Codabar start and stop characters, 0..3 for A..D; other values leave the setting unchanged. */
VN_EXPORT void VN_CALL VnCodaBarInfo(int start, int stop);
/* UPC-E number system, 0 or 1; other values leave it unchanged. */
VN_EXPORT void VN_CALL VnUPCESystem(int system);
/* EAN/UPC add-on: kind 0 none, 1 two digits, 2 five digits (other kinds leave it unchanged); the
 * digits are always stored; a gap above 0 cm is stored. Its digits stand centred above its bars, in
 * a box as wide as the add-on, or, where that holds less than 0.6 of the font height a digit, in
 * one widened evenly on both sides by up to the gap, so that a large font over narrow bars does not
 * cut them. */
VN_EXPORT void VN_CALL VnSupplementInfo(int kind, const char* digits, double gapCm);
/* Symbology 0..20 (else unchanged; 21 and 22 are chosen with VnSetSymbology); narrow width in cm
 * and wide/narrow ratio, stored when above 0; orientation 0..3 (0, 90, 180, 270 degrees
 * counter-clockwise; else 0); frame 0 none, 1 dashed, 2 solid (else 0).
 * A width, ratio, add-on gap or screen resolution so large that a size in pixels would pass the int
 * range (1e30 cm, a ratio of 1e9, infinity) makes that size the largest int: the symbol then runs
 * past the picture, starts at its edge and shows as much as fits, so an element that wide covers
 * the rest of the picture. */
VN_EXPORT void VN_CALL VnBasicInfo(int symbology, double narrowWidthCm, double wideRatio,
                                   int orientation, int frameStyle);
/* Colours from components 0..255; a component outside that range is taken as 0. */
VN_EXPORT void VN_CALL VnSetBackColor(int red, int green, int blue);
VN_EXPORT void VN_CALL VnSetBarColor(int red, int green, int blue);

/* ---- Outputs --------------------------------------------------------------------------------- */

/* How every file export saves its file. The picture is written to a new file in the same folder,
 * with no name where the file system allows it (Linux's O_TMPFILE), so that a process killed while
 * saving leaves nothing behind, and it takes the path's name only once it is complete: a failure at
 * any point leaves the old file as it was and returns 0. An empty path is refused before anything
 * is drawn, as NULL is.
 * - A new file gets the permissions an ordinary create gives it (the umask and the folder's default
 *   access list apply). A replaced file keeps its permissions, its owner and group where the caller
 *   may give them, and its extended attributes, its access control list among them; where the list
 *   cannot be set, the group permissions narrow to what it gave the owning group. The new contents
 *   are never readable by anyone who cannot read the final file. Replacing a file gives it a new
 *   identity: its other hard links keep the old contents. A read-only file in a writable folder is
 *   replaced, as `sed -i` does.
 * - A replacement is flushed to the disk (the new file before it takes the name, the folder after),
 *   so that a power cut leaves the old file or the new one, whole. A new file is not flushed.
 * - A symbolic link at the path, or a chain of them, is followed, a dangling one included, and the
 *   file it names is created or replaced; the link stays. In a folder that everyone may write to and
 *   only owners may delete from (sticky and world-writable, as /tmp), a link is followed only when it
 *   belongs to the caller or to the folder's owner, as Linux's fs.protected_symlinks has it for an
 *   ordinary open, whatever that setting is here: another user's link there is refused (0, the file
 *   it names untouched). A folder, a device or a pipe at the path is refused.
 * - The Windows DLLs keep to these rules where Windows has them: see the note at the end. */

/* Every output draws the picture as a list of drawing operations first. A dashed frame takes a line
 * for every 8 pixels of its edges, and a picture of more than 262144 operations (a dashed frame
 * whose width plus height pass about a million pixels) is refused by every output: it returns 0 and
 * writes nothing, and the clipboard keeps what it had. */

/* Writes the picture as a one-bit BMP (colour 0 the bars, colour 1 the background). Returns 0 when
 * the picture cannot be allocated or the file cannot be written; the file at the path is replaced
 * only by a complete new one, so a failure leaves any old file as it was. A NULL path returns 0, and
 * so does, at once and before anything is drawn, a picture whose rows would pass the format's
 * 4 GiB (VnSetSize(INT_MAX, INT_MAX), say).
 * In the Windows DLLs the platform reduces the screen's picture to one bit, as GetDIBits does: its
 * table (black and white on true-colour screens) and which pixels take which colour are its own. */
VN_EXPORT VnBool VN_CALL VnSaveAsBMP(const char* path);

/* Writes the picture as a placeable Windows metafile whose unit is one screen pixel (its units per
 * inch are the screen's horizontal resolution). Returns 0 for a NULL path, a file that cannot be
 * written (any old file stays as it was), or a picture the format's 16-bit coordinates cannot hold:
 * wider or taller than 32767 pixels or a resolution above 65535 pixels per inch (refused before
 * anything is drawn), or text or a font beyond 16-bit values; nothing is written then. */
VN_EXPORT VnBool VN_CALL VnSaveAsWMF(const char* path);

/* Places the picture on the clipboard as an enhanced metafile, in place of what was there. Returns 0
 * when the clipboard cannot be opened because another holder has it; the clipboard then keeps what
 * it had. */
VN_EXPORT VnBool VN_CALL VnCopyToClipboard(void);

/* ---- Extension exports ----------------------------------------------------------------------- */

/* Writes the picture as an enhanced metafile file, the same metafile that VnCopyToClipboard places
 * on the clipboard. Returns 0 for a NULL path or a file that cannot be written (any old file stays
 * as it was). */
VN_EXPORT VnBool VN_CALL VnSaveAsEMF(const char* path);

/* Copies the enhanced metafile that is on the clipboard out to the host. Returns its size in bytes,
 * or 0 when the clipboard holds none or cannot be opened. The bytes are copied only when buffer is
 * not NULL and size is at least that size; call with NULL and 0 to learn the size first. */
VN_EXPORT int VN_CALL VnGetClipboardEMF(void* buffer, int size);

/* The screen resolution in pixels per inch, horizontally and vertically, that lays out every
 * picture (centimetres become pixels) and that the metafiles refer to. Until set it is the screen's
 * own on Windows (LOGPIXELSX and LOGPIXELSY), 96 by 96 elsewhere. A value below 1 leaves that
 * direction unchanged. A render takes both directions once, together: one set on another thread
 * meanwhile gives a picture wholly at the old resolution or wholly at the new. */
VN_EXPORT void VN_CALL VnSetScreenResolution(int dpiX, int dpiY);

/* Writes the picture as an SVG file whose view box is the picture's size in pixels and whose width
 * and height are its size at the screen resolution in millimetres (the width at the horizontal
 * resolution, the height at the vertical), so that it prints at the size of the PNG, which stores
 * the resolution: 300 by 200 pixels at 96 dpi are width="79.375mm" height="52.916mm". A length has
 * three decimals, or more where the resolution passes 2540 dpi, so that it is within 0.001 mm and a
 * tenth of a pixel, and no trailing zeros; it is cut, never rounded up, and cut a unit further where
 * a reader taking it in single precision would come to more pixels than the picture has, so that
 * readers that round a size up draw the picture's own pixels. The view box fills that size whatever
 * the two resolutions. In the view box: one rectangle per bar over exactly its pixels, in exact
 * colours; the text as text in the font's family at the size whose cell height is the font height,
 * turned with the symbol by a transform; the frame in black, as the metafiles draw it. Returns 0
 * for a NULL path or a file that cannot be written (any old file stays as it was). */
VN_EXPORT VnBool VN_CALL VnSaveAsSVG(const char* path);

/* Writes the picture as a one-bit palette PNG with the pixels of VnSaveAsBMP (entry 0 the bar
 * colour, entry 1 the background) and the screen resolution stored in pixels per metre. Returns 0
 * for a NULL path, a picture whose pixels cannot be allocated or would take more than 4 GiB as a
 * BMP does, or a file that cannot be written (any old file stays as it was).
 * In the Windows DLLs the SVG's and the PNG's text is in GDI's fonts: the SVG's runs are laid out
 * with GDI's metrics, and the PNG's glyphs are GDI's outlines one bit deep, where the BMP's text is
 * drawn by GDI itself: the bars are the same pixels, a glyph's edge may differ by a pixel. */
VN_EXPORT VnBool VN_CALL VnSaveAsPNG(const char* path);

/* Chooses the symbology by number, any of 0..22: those VnBasicInfo takes and those it does not
 * (21 GS1-128, 22 ITF-14); another number leaves the setting unchanged. VnBasicInfo's other
 * settings are its own: call it first, then this, to set them all.
 *
 * GS1-128's data is element strings, each AI in parentheses or square brackets before its data:
 * "(01)09501101530003(17)260101(10)ABC123"; in parentheses data may hold none, in square brackets it
 * may. Each AI's data is checked against GS1's Barcode Syntax Dictionary (its length, characters,
 * check digits, dates and codes), with the AIs it needs beside it and those it excludes, and a
 * symbol holds at most 48 data characters (the AIs, their data and the FNC1s between element
 * strings). The symbol check character is always drawn; the text is the element strings with their
 * AIs in parentheses.
 *
 * ITF-14's data is the 13 digits of a GTIN, to which the GS1 check digit is added, or all 14 with
 * the right check digit (a wrong one is refused, naming the right one). It is Interleaved 2 of 5
 * in a box of bearer bars, five narrow widths thick and within the bar height, around the symbol
 * and its quiet zones of ten narrow widths; the box replaces the frame, which is not drawn. Wide
 * elements keep to the 2.25 to 3 narrow widths its readers expect: a ratio outside that is drawn at
 * the whole pixels nearest it within the range. The text is the 14 digits, below the box. */
VN_EXPORT void VN_CALL VnSetSymbology(int symbology);

/* The height of the bars in centimetres (VnSetDefault sets 1.5), stored when above 0 as VnBasicInfo
 * stores the narrow width: 0, negative values and NaN leave it unchanged. It becomes pixels at the
 * screen's vertical resolution, or its horizontal one when the symbol runs up or down (orientations
 * 1 and 3). The text band and the guard bars of EAN and UPC symbols come on top of it. A height so
 * large that the pixels would pass the int range (1e30 cm, infinity) makes the bars the largest int
 * tall: they run past the picture. */
VN_EXPORT void VN_CALL VnSetBarHeight(double heightCm);

/* Nonzero: the PNG and the SVG leave the background transparent; 0 (and VnSetDefault) turns it
 * off. The PNG's background entry, palette entry 1, gets alpha 0, so that every pixel of the
 * background colour is transparent, the boxes cleared behind the text included. The SVG paints
 * nothing in the background colour: it leaves out the picture's background rectangle, and a box
 * behind the text clears the bars beneath it as it does in the PNG (the SVG then holds masks).
 * Refused data's picture has no background rectangle: its message's box is what turns transparent.
 * The BMP and the metafiles are drawn as before whatever it says. */
VN_EXPORT void VN_CALL VnSetTransparentBackground(int transparent);

/* The formats of VnRenderToMemory. */
#define VN_FORMAT_BMP 1
#define VN_FORMAT_WMF 2
#define VN_FORMAT_EMF 3
#define VN_FORMAT_SVG 4
#define VN_FORMAT_PNG 5

/* Renders the picture into memory, in one of the formats above, exactly as the file export of that
 * format (VnSaveAsBMP, VnSaveAsWMF, VnSaveAsEMF, VnSaveAsSVG, VnSaveAsPNG) writes it: the same bytes,
 * the same picture in place of refused data, the same VnGetLastError afterwards. Returns the
 * picture's size in bytes; the bytes are copied only when buffer is not NULL and size is at least
 * that size, and nothing is ever written past size bytes: call with NULL and 0 to learn the size
 * first. Returns 0, and copies nothing, for an unknown format, a negative size, a picture the file
 * export refuses too (too large for the format or for the memory there is), or one of more than
 * INT_MAX bytes.
 * The picture is kept with the settings until the next one: asked for again in the same format with
 * no setter called since (any setter call counts, even one that changes nothing) and the same screen
 * resolution, it is copied from there rather than rendered again, so that asking for the size and
 * then for the bytes renders once; a file export of that format saves it from there too. A picture
 * of more than 1 MiB is let go once its bytes have been copied out or saved; a later call renders it
 * again. */
VN_EXPORT int VN_CALL VnRenderToMemory(int format, void* buffer, int size);

/* Validates the data at the current settings and measures its symbol, without drawing or writing
 * anything. `length` receives the symbol's length in pixels along the direction it runs: from its
 * first bar to the end of its last bar or space, add-on included (PLANET and POSTNET end it one
 * narrow width before their closing bar). `thickness` receives the thickness of its band across it:
 * the bar height, plus the font height less 4 when text is on. Every output centres the symbol in
 * the picture by these two sizes; the digits beside EAN and UPC symbols, the ISBN caption, and guard
 * bars when text is off may reach beyond them.
 * Returns 1 when the data would be drawn; 0 when it is refused, with both sizes 0 and VnGetLastError
 * returning the message, as after a picture. Either pointer may be NULL. */
VN_EXPORT VnBool VN_CALL VnMeasure(int* length, int* thickness);

/* Validates and measures as VnMeasure does, and gives how far a picture's drawing reaches past the
 * symbol VnMeasure measures, in pixels, in the symbol's own directions whatever its orientation:
 * `before` its start and `after` its end along it, `above` the bars' top and `below` the band's
 * bottom across it (0 where it stays within). Everything drawn beside the symbol counts, as the
 * render draws it at the current settings: bars, guard bars that reach below the band, and each
 * text run's box (the digits beside EAN and UPC symbols, the ISBN caption, an add-on's digits, text
 * under the bars), in which its text is clipped. `frame` receives how far in from the picture's
 * edge the frame reaches, drawn over whatever lies there: 1 for a solid frame, 2 for a dashed one,
 * 0 for none or for ITF-14, whose box replaces it. A picture that leaves each side of the centred
 * symbol its reach plus the frame's width shows the whole drawing inside the frame.
 * Returns as VnMeasure does, with every size 0 for refused data. Any pointer may be NULL. */
VN_EXPORT VnBool VN_CALL VnMeasureReach(int* before, int* after, int* above, int* below, int* frame);

/* Whether the last picture made, by any output, or the last VnMeasure, took its data: "" when it
 * did (and before either), else the validation message that a picture shows in its place, such as
 * "12 digits are required." or, for GS1-128, one that names the AI and what is wrong with it,
 * "AI (17): 260231 is not a date.". The text belongs to the library and is never freed; a message
 * of the second kind is kept in the context, so its text changes with the next picture or measure
 * of the same context: copy it to keep it. */
VN_EXPORT const char* VN_CALL VnGetLastError(void);

/* Why the last file export (VnSaveAsBMP, VnSaveAsWMF, VnSaveAsEMF, VnSaveAsSVG, VnSaveAsPNG) that
 * returned 0 failed, as the system's error number (errno): ENOSPC for a full disk, EFBIG for a file
 * past the process's size limit, EACCES for a folder that may not be written, and so on, as the
 * system said it. 0 after a file export that saved its file, and before any; the other exports leave
 * it as it is. Where the library refuses a path or a picture itself, the number is the nearest the
 * system has: ENOENT for a NULL or empty path, EISDIR for a folder at the path, EINVAL for anything
 * else there that is not a regular file (a pipe, a device such as /dev/full or /dev/null, a socket),
 * EACCES for a link refused in a shared folder, ELOOP for a loop of links, EFBIG for a picture the
 * format or the drawing cannot hold (see the outputs), and ENOMEM for one whose memory cannot be
 * had. The Windows DLLs give the numbers of the C runtime they are built with (msvcrt): the
 * system's error becomes the nearest of them, EIO where there is none. */
VN_EXPORT int VN_CALL VnGetLastSaveError(void);

/* ---- Contexts --------------------------------------------------------------------------------- */

/* A context is an engine of its own: its settings, its last error, its working memory and the
 * picture it keeps for VnCtxRenderToMemory. The exports above act on the process's one default
 * context, which is why they must be called from one thread at a time. Different contexts may be
 * used from different threads at the same time; one context from one thread at a time. What the
 * process shares (the font cache, the clipboard, the screen resolution) is safe for that, and the
 * font cache stays warm across contexts.
 *
 * VnCreateContext returns a new context with the settings of VnSetDefault, or NULL when its memory
 * cannot be had. VnDestroyContext frees it, its kept picture with it (NULL is ignored); using a
 * destroyed context is the caller's fault, like any freed memory. Every VnCtx export does what the
 * export of the same name without "Ctx" does, on the given context; a NULL context is refused: the
 * setters have no effect, the outputs and VnCtxMeasure return 0 (VnCtxMeasure zeroes the sizes),
 * VnCtxGetLastError returns "" and VnCtxGetLastSaveError 0. */
typedef struct VnContext VnContext;

VN_EXPORT VnContext* VN_CALL VnCreateContext(void);
VN_EXPORT void VN_CALL VnDestroyContext(VnContext* context);

VN_EXPORT void VN_CALL VnCtxSetDefault(VnContext* context);
VN_EXPORT void VN_CALL VnCtxSetSize(VnContext* context, int width, int height);
VN_EXPORT void VN_CALL VnCtxSetMessage(VnContext* context, const char* data);
VN_EXPORT void VN_CALL VnCtxFontInfo(VnContext* context, const char* faceName, int fontHeight);
VN_EXPORT void VN_CALL VnCtxTextInfo(VnContext* context, int showText, int addCheckDigit, int checkDigitInText);
VN_EXPORT void VN_CALL VnCtxCodaBarInfo(VnContext* context, int start, int stop);
VN_EXPORT void VN_CALL VnCtxUPCESystem(VnContext* context, int system);
VN_EXPORT void VN_CALL VnCtxSupplementInfo(VnContext* context, int kind, const char* digits, double gapCm);
VN_EXPORT void VN_CALL VnCtxBasicInfo(VnContext* context, int symbology, double narrowWidthCm, double wideRatio,
                                      int orientation, int frameStyle);
VN_EXPORT void VN_CALL VnCtxSetSymbology(VnContext* context, int symbology);
VN_EXPORT void VN_CALL VnCtxSetBackColor(VnContext* context, int red, int green, int blue);
VN_EXPORT void VN_CALL VnCtxSetBarColor(VnContext* context, int red, int green, int blue);
VN_EXPORT void VN_CALL VnCtxSetBarHeight(VnContext* context, double heightCm);
VN_EXPORT void VN_CALL VnCtxSetTransparentBackground(VnContext* context, int transparent);

VN_EXPORT VnBool VN_CALL VnCtxSaveAsBMP(VnContext* context, const char* path);
VN_EXPORT VnBool VN_CALL VnCtxSaveAsWMF(VnContext* context, const char* path);
VN_EXPORT VnBool VN_CALL VnCtxCopyToClipboard(VnContext* context);
VN_EXPORT VnBool VN_CALL VnCtxSaveAsEMF(VnContext* context, const char* path);
VN_EXPORT VnBool VN_CALL VnCtxSaveAsSVG(VnContext* context, const char* path);
VN_EXPORT VnBool VN_CALL VnCtxSaveAsPNG(VnContext* context, const char* path);
VN_EXPORT int VN_CALL VnCtxRenderToMemory(VnContext* context, int format, void* buffer, int size);
VN_EXPORT VnBool VN_CALL VnCtxMeasure(VnContext* context, int* length, int* thickness);
VN_EXPORT VnBool VN_CALL VnCtxMeasureReach(VnContext* context, int* before, int* after, int* above, int* below,
                                           int* frame);
VN_EXPORT const char* VN_CALL VnCtxGetLastError(VnContext* context);
VN_EXPORT int VN_CALL VnCtxGetLastSaveError(VnContext* context);

/* Saving files in the Windows DLLs. The file is written beside its path and moved over it once
 * complete (MoveFileEx, through to the disk); a replacement is flushed before the move, and keeps
 * the old file's read-only, hidden and system attributes, a read-only file being replaced as on
 * Linux. The temporary file is marked to be deleted when closed until just before the move, so a
 * process killed while saving leaves nothing in all but two brief moments. A symbolic link at the
 * path is followed as an ordinary open by the process follows it, the system's own rules deciding:
 * the file it names is replaced and the link stays. A dangling link, a link the system will not
 * follow and a reparse point that cannot be opened as a file are refused (0, the link and any file
 * kept), as Windows can tell where a dangling link leads only by creating the file there. A folder,
 * or a link or junction to one, is never replaced. The old file's access control list is not
 * carried over: the new file gets the security its folder gives a new file. */

#ifdef __cplusplus
}
#endif

#endif /* VARNEL32_H */
