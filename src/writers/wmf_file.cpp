#include "writers/wmf_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <span>
#include <string_view>

#include "writers/metafile_records.h"
#include "writers/metafile_replay.h"
#include "writers/placeable_header.h"

namespace varnel {
namespace {

// Record functions of the Windows metafile format.
enum WmfFunction : std::uint16_t {
  kEof = 0x0000,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDeleteObject = 0x01F0,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kSetPolyFillMode = 0x0106,
  kPolyPolygon = 0x0538,
  kExtTextOut = 0x0A32,
};

constexpr std::uint16_t kSolidStyle = 0;    // PS_SOLID and BS_SOLID
constexpr std::uint16_t kNullPenStyle = 5;  // PS_NULL
constexpr std::size_t kMetaHeaderSize = 18;
constexpr std::uint16_t kMemoryMetafile = 1;
constexpr std::uint16_t kMetaHeaderWords = kMetaHeaderSize / 2;
constexpr std::uint16_t kWindows30Version = 0x0300;
constexpr std::size_t kFaceNameBytes = 32;
// Enough for most pictures at once: a bar takes 18 bytes, a one-character text run with its state
// records about 60.
constexpr std::size_t kRoomForHeaders = 256;
constexpr std::size_t kRoomPerOperation = 64;

// The records of one metafile, appended to the buffer. A value that its 16-bit field cannot hold
// is written cut, and marks the metafile unfaithful.
class WmfRecords {
 public:
  static constexpr std::uint32_t kFirstObjectIndex = 0;
  static constexpr bool kFillDrawsOutline = true;
  // The polygon count is a 16-bit field; a shape of more outlines goes on in the next record.
  static constexpr std::size_t kMaxOutlines = 4096;

  explicit WmfRecords(RecordBuffer& out) : out_(out) {}

  bool Faithful() const { return faithful_; }
  std::uint32_t LargestRecordWords() const { return largest_; }

  void SetWindowExt(int width, int height) { PointRecord(kSetWindowExt, Point{width, height}); }
  void SetWindowOrg(int x, int y) { PointRecord(kSetWindowOrg, Point{x, y}); }

  // The width of a pen is a point whose x is the width.
  void CreatePen(std::uint32_t, MetafilePen pen) {
    RecordWriter record = Begin(kCreatePenIndirect, 10);
    record.U16(pen == MetafilePen::kNull ? kNullPenStyle : kSolidStyle);
    record.I16(pen == MetafilePen::kNull ? 0 : 1);
    record.I16(0);
    record.U32(kBlack);
  }

  void CreateBrush(std::uint32_t, COLORREF color) {
    RecordWriter record = Begin(kCreateBrushIndirect, 8);
    record.U16(kSolidStyle);
    record.U32(color);
    record.U16(0);  // hatch, unused by a solid brush
  }

  void CreateFont(std::uint32_t, const FontDescription& font) {
    static_assert(sizeof font.lfFaceName == kFaceNameBytes);
    RecordWriter record = Begin(kCreateFontIndirect, 5 * 2 + 8 + kFaceNameBytes);
    for (const std::int32_t value :
         {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight})
      Signed16(record, value);
    for (const std::uint8_t value :
         {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
          font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily})
      record.U8(value);
    for (const char c : font.lfFaceName) record.U8(static_cast<std::uint8_t>(c));
  }

  void SelectObject(std::uint32_t index) { IndexRecord(kSelectObject, index); }
  void DeleteObject(std::uint32_t index) { IndexRecord(kDeleteObject, index); }
  // The format has no stock objects to put back: a player drops its object table at the end.
  void SelectDefaultObjects() {}

  void SetTextColor(COLORREF color) { ColorRecord(kSetTextColor, color); }
  void SetBkColor(COLORREF color) { ColorRecord(kSetBkColor, color); }
  void SetTextAlign(unsigned align) { IndexRecord(kSetTextAlign, align); }
  void SetPolyFillMode(std::uint32_t mode) { IndexRecord(kSetPolyFillMode, mode); }

  // A polygon through the four corners of each outline, all of them one shape: the format has no
  // paths, so the null pen must be selected. Outlines lie within the picture, whose size a
  // placeable metafile keeps within 16 bits.
  void FillCells(std::span<const Rect> outlines) {
    RecordWriter record = Begin(kPolyPolygon, 2 + outlines.size() * (2 + 4 * 4));
    Unsigned16(record, outlines.size());
    for (std::size_t i = 0; i < outlines.size(); ++i) record.U16(4);
    for (const Rect& r : outlines) {
      for (const Point corner :
           {Point{r.left, r.top}, Point{r.right, r.top}, Point{r.right, r.bottom}, Point{r.left, r.bottom}}) {
        record.I16(static_cast<std::int16_t>(corner.x));
        record.I16(static_cast<std::int16_t>(corner.y));
      }
    }
  }

  // y, x, length, options, the clip rectangle when clipped, the string padded to whole words, and
  // one advance per character.
  void TextOut(Point reference, const Rect* clip, std::string_view text, const AdvanceTable& advanceOf) {
    const std::size_t paddedText = (text.size() + 1) / 2 * 2;
    RecordWriter record = Begin(kExtTextOut, 4 * 2 + (clip != nullptr ? 4 * 2 : 0) + paddedText + 2 * text.size());
    Signed16(record, reference.y);
    Signed16(record, reference.x);
    Signed16(record, static_cast<std::int64_t>(text.size()));
    record.U16(clip != nullptr ? kTextClipped : 0);
    if (clip != nullptr) {
      for (const int edge : {clip->left, clip->top, clip->right, clip->bottom}) Signed16(record, edge);
    }
    for (const char c : text) record.U8(static_cast<std::uint8_t>(c));
    if (paddedText != text.size()) record.U8(0);
    for (const char c : text) Signed16(record, advanceOf[static_cast<std::uint8_t>(c)]);
  }

  void MoveTo(Point p) { PointRecord(kMoveTo, p); }
  void LineTo(Point p) { PointRecord(kLineTo, p); }
  void Eof() { Begin(kEof, 0); }

 private:
  // A record of `parameterBytes` after its size in 16-bit words (32 bits) and its function.
  RecordWriter Begin(WmfFunction function, std::size_t parameterBytes) {
    const std::size_t words = (6 + parameterBytes) / 2;
    if (words > std::numeric_limits<std::uint32_t>::max()) faithful_ = false;
    largest_ = std::max(largest_, static_cast<std::uint32_t>(words));
    RecordWriter record = out_.Append(2 * words);
    record.U32(static_cast<std::uint32_t>(words));
    record.U16(function);
    return record;
  }

  // Points are stored y first.
  void PointRecord(WmfFunction function, Point p) {
    RecordWriter record = Begin(function, 4);
    Signed16(record, p.y);
    Signed16(record, p.x);
  }
  void IndexRecord(WmfFunction function, std::uint64_t value) {
    RecordWriter record = Begin(function, 2);
    Unsigned16(record, value);
  }
  void ColorRecord(WmfFunction function, COLORREF color) { Begin(function, 4).U32(color); }

  void Signed16(RecordWriter& record, std::int64_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
      faithful_ = false;
    record.I16(static_cast<std::int16_t>(value));
  }
  void Unsigned16(RecordWriter& record, std::uint64_t value) {
    if (value > std::numeric_limits<std::uint16_t>::max()) faithful_ = false;
    record.U16(static_cast<std::uint16_t>(value));
  }

  RecordBuffer& out_;
  std::uint32_t largest_ = 0;
  bool faithful_ = true;
};

// Readers accept only a memory metafile with a nine-word header.
void PatchMetaHeader(RecordBuffer& out, std::size_t at, std::uint32_t fileWords, std::uint16_t objects,
                     std::uint32_t largestRecordWords) {
  out.PatchU16(at, kMemoryMetafile);
  out.PatchU16(at + 2, kMetaHeaderWords);
  out.PatchU16(at + 4, kWindows30Version);
  out.PatchU32(at + 6, fileWords);
  out.PatchU16(at + 10, objects);
  out.PatchU32(at + 12, largestRecordWords);
  out.PatchU16(at + 16, 0);  // no parameters
}

}  // namespace

std::optional<FileBytes> EncodePlaceableWmf(const Surface& surface, int unitsPerInch) {
  const int width = surface.Width(), height = surface.Height();
  if (!FitsPlaceableHeader(width, height, unitsPerInch)) return std::nullopt;

  try {
    RecordBuffer out;
    out.Reserve(kRoomForHeaders + kRoomPerOperation * surface.Operations().size());
    WritePlaceableHeader(out, width, height, unitsPerInch);
    const std::size_t metaHeaderAt = out.Size();
    out.Zeros(kMetaHeaderSize);

    WmfRecords records(out);
    records.SetWindowExt(width, height);
    records.SetWindowOrg(0, 0);
    MetafileReplay<WmfRecords> replay(records, width, height);
    replay.Play(surface);
    replay.ReleaseObjects();
    records.Eof();

    const std::size_t metafileWords = (out.Size() - metaHeaderAt) / 2;
    if (!records.Faithful() || metafileWords > std::numeric_limits<std::uint32_t>::max() ||
        replay.ObjectTableSize() > std::numeric_limits<std::uint16_t>::max())
      return std::nullopt;
    PatchMetaHeader(out, metaHeaderAt, static_cast<std::uint32_t>(metafileWords),
                    static_cast<std::uint16_t>(replay.ObjectTableSize()), records.LargestRecordWords());
    return std::move(out.Bytes());
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace varnel
