#include "platform/wmf_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string_view>

#include "platform/metafile_records.h"
#include "platform/metafile_replay.h"

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
  kPolygon = 0x0324,
  kExtTextOut = 0x0A32,
};

constexpr std::uint16_t kSolidStyle = 0;    // PS_SOLID and BS_SOLID
constexpr std::uint16_t kNullPenStyle = 5;  // PS_NULL
constexpr std::size_t kMetaHeaderSize = 18;
constexpr std::uint16_t kMemoryMetafile = 1;
constexpr std::uint16_t kMetaHeaderWords = kMetaHeaderSize / 2;
constexpr std::uint16_t kWindows30Version = 0x0300;
constexpr std::size_t kFaceNameBytes = 32;

// The records of one metafile, appended to the buffer. A value that its 16-bit field cannot hold
// is written cut, and marks the metafile unfaithful.
class WmfRecords {
 public:
  static constexpr std::uint32_t kFirstObjectIndex = 0;
  static constexpr bool kFillDrawsOutline = true;

  explicit WmfRecords(RecordBuffer& out) : out_(out) {}

  bool Faithful() const { return faithful_; }
  std::uint32_t LargestRecordWords() const { return largest_; }

  void SetWindowExt(int width, int height) { PointRecord(kSetWindowExt, Point{width, height}); }
  void SetWindowOrg(int x, int y) { PointRecord(kSetWindowOrg, Point{x, y}); }

  // The width of a pen is a point whose x is the width.
  void CreatePen(std::uint32_t, MetafilePen pen) {
    Begin(kCreatePenIndirect);
    out_.U16(pen == MetafilePen::kNull ? kNullPenStyle : kSolidStyle);
    out_.I16(pen == MetafilePen::kNull ? 0 : 1);
    out_.I16(0);
    out_.U32(kBlack);
    End();
  }

  void CreateBrush(std::uint32_t, COLORREF color) {
    Begin(kCreateBrushIndirect);
    out_.U16(kSolidStyle);
    out_.U32(color);
    out_.U16(0);  // hatch, unused by a solid brush
    End();
  }

  void CreateFont(std::uint32_t, const FontDescription& font) {
    Begin(kCreateFontIndirect);
    for (const std::int32_t value :
         {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight})
      Signed16(value);
    for (const std::uint8_t value :
         {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
          font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily})
      out_.U8(value);
    static_assert(sizeof font.lfFaceName == kFaceNameBytes);
    for (const char c : font.lfFaceName) out_.U8(static_cast<std::uint8_t>(c));
    End();
  }

  void SelectObject(std::uint32_t index) { IndexRecord(kSelectObject, index); }
  void DeleteObject(std::uint32_t index) { IndexRecord(kDeleteObject, index); }
  // The format has no stock objects to put back: a player drops its object table at the end.
  void SelectDefaultObjects() {}

  void SetTextColor(COLORREF color) { ColorRecord(kSetTextColor, color); }
  void SetBkColor(COLORREF color) { ColorRecord(kSetBkColor, color); }
  void SetTextAlign(unsigned align) {
    Begin(kSetTextAlign);
    Unsigned16(align);
    End();
  }

  // A polygon through the four corners: the format has no paths, so the null pen must be selected.
  void FillCells(const Rect& r) {
    Begin(kPolygon);
    out_.U16(4);
    for (const Point corner :
         {Point{r.left, r.top}, Point{r.right, r.top}, Point{r.right, r.bottom}, Point{r.left, r.bottom}}) {
      Signed16(corner.x);
      Signed16(corner.y);
    }
    End();
  }

  // y, x, length, options, the clip rectangle when clipped, the string padded to whole words, and
  // one advance per character.
  void TextOut(Point reference, const Rect* clip, std::string_view text, const std::vector<int>& advances) {
    Begin(kExtTextOut);
    Signed16(reference.y);
    Signed16(reference.x);
    Signed16(static_cast<std::int64_t>(text.size()));
    out_.U16(clip != nullptr ? kTextClipped : 0);
    if (clip != nullptr) {
      for (const int edge : {clip->left, clip->top, clip->right, clip->bottom}) Signed16(edge);
    }
    for (const char c : text) out_.U8(static_cast<std::uint8_t>(c));
    if (text.size() % 2 != 0) out_.U8(0);
    for (const int advance : advances) Signed16(advance);
    End();
  }

  void MoveTo(Point p) { PointRecord(kMoveTo, p); }
  void LineTo(Point p) { PointRecord(kLineTo, p); }
  void Eof() {
    Begin(kEof);
    End();
  }

 private:
  // A record: its size in 16-bit words (32 bits), its function, its parameters.
  void Begin(WmfFunction function) {
    start_ = out_.Size();
    out_.U32(0);
    out_.U16(function);
  }
  void End() {
    const std::size_t words = (out_.Size() - start_) / 2;
    if (words > std::numeric_limits<std::uint32_t>::max()) faithful_ = false;
    out_.PatchU32(start_, static_cast<std::uint32_t>(words));
    largest_ = std::max(largest_, static_cast<std::uint32_t>(words));
  }

  // Points are stored y first.
  void PointRecord(WmfFunction function, Point p) {
    Begin(function);
    Signed16(p.y);
    Signed16(p.x);
    End();
  }
  void IndexRecord(WmfFunction function, std::uint32_t index) {
    Begin(function);
    Unsigned16(index);
    End();
  }
  void ColorRecord(WmfFunction function, COLORREF color) {
    Begin(function);
    out_.U32(color);
    End();
  }

  void Signed16(std::int64_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
      faithful_ = false;
    out_.I16(static_cast<std::int16_t>(value));
  }
  void Unsigned16(std::uint64_t value) {
    if (value > std::numeric_limits<std::uint16_t>::max()) faithful_ = false;
    out_.U16(static_cast<std::uint16_t>(value));
  }

  RecordBuffer& out_;
  std::size_t start_ = 0;
  std::uint32_t largest_ = 0;
  bool faithful_ = true;
};

// Key, handle 0, bounding box 0, 0, width, height, units per inch, reserved, and the exclusive or
// of the ten 16-bit words before the checksum.
void WritePlaceableHeader(RecordBuffer& out, int width, int height, int unitsPerInch) {
  const std::size_t start = out.Size();
  out.U32(kPlaceableKey);
  out.U16(0);
  out.U16(0);
  out.U16(0);
  out.U16(static_cast<std::uint16_t>(width));
  out.U16(static_cast<std::uint16_t>(height));
  out.U16(static_cast<std::uint16_t>(unitsPerInch));
  out.U32(0);
  std::uint16_t checksum = 0;
  for (std::size_t at = start; at < start + 20; at += 2)
    checksum ^= static_cast<std::uint16_t>(out.Bytes()[at] | out.Bytes()[at + 1] << 8);
  out.U16(checksum);
}

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

std::optional<std::vector<std::uint8_t>> EncodePlaceableWmf(const Surface& surface, int unitsPerInch) {
  constexpr int kLargestCoordinate = std::numeric_limits<std::int16_t>::max();
  const int width = surface.Width(), height = surface.Height();
  if (width < 0 || height < 0 || width > kLargestCoordinate || height > kLargestCoordinate)
    return std::nullopt;
  if (unitsPerInch < 1 || unitsPerInch > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;

  try {
    RecordBuffer out;
    WritePlaceableHeader(out, width, height, unitsPerInch);
    const std::size_t metaHeaderAt = out.Size();
    out.Zeros(kMetaHeaderSize);

    WmfRecords records(out);
    records.SetWindowExt(width, height);
    records.SetWindowOrg(0, 0);
    MetafileReplay<WmfRecords> replay(records, width, height);
    surface.Replay(replay);
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
