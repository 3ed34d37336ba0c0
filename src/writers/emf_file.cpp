#include "writers/emf_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <span>
#include <string_view>

#include "writers/metafile_records.h"
#include "writers/metafile_replay.h"
#include "base/windows_1252.h"

namespace varnel {
namespace {

// Record types of the enhanced metafile format.
enum EmfType : std::uint32_t {
  kHeader = 1,
  kPolyPolygon = 8,
  kSetWindowExtEx = 9,
  kSetWindowOrgEx = 10,
  kEof = 14,
  kSetMapMode = 17,
  kSetPolyFillMode = 19,
  kSetTextAlign = 22,
  kSetTextColor = 24,
  kSetBkColor = 25,
  kMoveToEx = 27,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrushIndirect = 39,
  kDeleteObject = 40,
  kLineTo = 54,
  kBeginPath = 59,
  kEndPath = 60,
  kFillPath = 62,
  kExtCreateFontIndirectW = 82,
  kExtTextOutW = 84,
};

constexpr std::uint32_t kTextMapMode = 1;             // MM_TEXT
constexpr std::uint32_t kSolidStyle = 0;              // PS_SOLID and BS_SOLID
constexpr std::uint32_t kNullPenStyle = 5;            // PS_NULL
constexpr std::uint32_t kCompatibleGraphicsMode = 1;  // GM_COMPATIBLE
constexpr std::uint32_t kVersion = 0x00010000;

// Stock objects are named by their number with the top bit set.
constexpr std::uint32_t kStockObject = 0x80000000;
constexpr std::uint32_t kWhiteBrush = kStockObject | 0;
constexpr std::uint32_t kBlackPen = kStockObject | 7;
constexpr std::uint32_t kSystemFont = kStockObject | 13;

// The header with its optional fields up to the reference size in micrometres.
constexpr std::size_t kHeaderSize = 108;
// EMR_EXTTEXTOUTW up to its string: type, size, bounds, graphics mode, two scales, then the text
// object's reference point, length, string offset, options, rectangle and advances' offset.
constexpr std::uint32_t kTextStringOffset = 76;
constexpr std::uint32_t kEofSize = 20;
// Enough for most pictures at once: a bar takes 36 bytes, a one-character text run with its state
// records about 120.
constexpr std::size_t kRoomPerOperation = 128;

constexpr std::int64_t kReferenceInches = 20;
constexpr std::int64_t kHundredthsMmPerInch = 2540;

std::int32_t Saturated(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// Pixels at `dpi` in hundredths of a millimetre, to the nearest.
std::int32_t HundredthsMm(int pixels, int dpi) {
  return Saturated((std::int64_t{pixels} * kHundredthsMmPerInch * 2 + dpi) / (2 * std::int64_t{dpi}));
}

// The smallest rectangle around the outlines added to it.
class OutlineBounds {
 public:
  void Add(const Rect& r) {
    if (empty_) {
      bounds_ = r;
      empty_ = false;
      return;
    }
    bounds_ = Rect{std::min(bounds_.left, r.left), std::min(bounds_.top, r.top), std::max(bounds_.right, r.right),
                   std::max(bounds_.bottom, r.bottom)};
  }
  const Rect& Get() const { return bounds_; }

 private:
  Rect bounds_{0, 0, 0, 0};
  bool empty_ = true;
};

// Bounds are inclusive: the cells left <= x < right end at column right - 1.
struct InclusiveBounds {
  std::int32_t left, top, right, bottom;
};
InclusiveBounds CellsOf(const Rect& r) { return {r.left, r.top, r.right - 1, r.bottom - 1}; }

class EmfRecords {
 public:
  static constexpr std::uint32_t kFirstObjectIndex = 1;
  static constexpr bool kFillDrawsOutline = false;
  // A shape of more outlines goes on in the next record.
  static constexpr std::size_t kMaxOutlines = 4096;

  EmfRecords(RecordBuffer& out, const Rect& picture, ScreenResolution screen)
      : out_(out), picture_(picture), screen_(screen) {}

  std::uint32_t Count() const { return count_; }

  // The header goes first and is filled in by PatchHeader.
  void ReserveHeader() { Begin(kHeader, kHeaderSize).Zeros(kHeaderSize - 8); }

  void SetMapMode(std::uint32_t mode) { ValueRecord(kSetMapMode, mode); }
  void SetWindowExtEx(int width, int height) { PointRecord(kSetWindowExtEx, Point{width, height}); }
  void SetWindowOrgEx(int x, int y) { PointRecord(kSetWindowOrgEx, Point{x, y}); }

  void CreatePen(std::uint32_t index, MetafilePen pen) {
    RecordWriter record = Begin(kCreatePen, 28);
    record.U32(index);
    record.U32(pen == MetafilePen::kNull ? kNullPenStyle : kSolidStyle);
    record.I32(pen == MetafilePen::kNull ? 0 : 1);  // the width is a point whose x is the width
    record.I32(0);
    record.U32(kBlack);
  }

  void CreateBrush(std::uint32_t index, COLORREF color) {
    RecordWriter record = Begin(kCreateBrushIndirect, 24);
    record.U32(index);
    record.U32(kSolidStyle);
    record.U32(color);
    record.U32(0);  // hatch, unused by a solid brush
  }

  // The font as the 92-byte wide-character font description.
  void CreateFont(std::uint32_t index, const FontDescription& font) {
    RecordWriter record = Begin(kExtCreateFontIndirectW, 12 + 92);
    record.U32(index);
    for (const std::int32_t value :
         {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight})
      record.I32(value);
    for (const std::uint8_t value :
         {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
          font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily})
      record.U8(value);
    // The name is zero-padded after its end (MetafileFont sees to it), and so is the field.
    const std::size_t length = strnlen(font.lfFaceName, sizeof font.lfFaceName);
    for (std::size_t i = 0; i < length; ++i)
      record.U16(Windows1252ToUtf16(static_cast<std::uint8_t>(font.lfFaceName[i])));
    record.Zeros(2 * (sizeof font.lfFaceName - length));
  }

  void SelectObject(std::uint32_t index) { ValueRecord(kSelectObject, index); }
  void DeleteObject(std::uint32_t index) { ValueRecord(kDeleteObject, index); }
  void SelectDefaultObjects() {
    for (const std::uint32_t stock : {kBlackPen, kWhiteBrush, kSystemFont}) SelectObject(stock);
  }

  void SetTextColor(COLORREF color) { ValueRecord(kSetTextColor, color); }
  void SetBkColor(COLORREF color) { ValueRecord(kSetBkColor, color); }
  void SetTextAlign(unsigned align) { ValueRecord(kSetTextAlign, align); }
  void SetPolyFillMode(std::uint32_t mode) { ValueRecord(kSetPolyFillMode, mode); }

  // A path of a polygon through the four corners of each outline, filled: a filled path has no
  // outline at all, where readers that outline a shape drawn with a null pen would still widen a
  // polygon.
  void FillCells(std::span<const Rect> outlineCells) {
    const auto outlines = static_cast<std::uint32_t>(outlineCells.size());
    Begin(kBeginPath, 8);
    RecordWriter shape = Begin(kPolyPolygon, 8 + 16 + 8 + std::size_t{outlines} * (4 + 4 * 8));
    RecordWriter boundsField = shape;  // written once the corners have shown the bounds
    shape.Zeros(16);
    shape.U32(outlines);
    shape.U32(4 * outlines);
    for (std::uint32_t i = 0; i < outlines; ++i) shape.U32(4);
    OutlineBounds bounds;
    for (const Rect& r : outlineCells) {
      bounds.Add(r);
      for (const Point corner :
           {Point{r.left, r.top}, Point{r.right, r.top}, Point{r.right, r.bottom}, Point{r.left, r.bottom}}) {
        shape.I32(corner.x);
        shape.I32(corner.y);
      }
    }
    Bounds(boundsField, CellsOf(bounds.Get()));
    Begin(kEndPath, 8);
    RecordWriter fill = Begin(kFillPath, 8 + 16);
    Bounds(fill, CellsOf(bounds.Get()));
  }

  void TextOut(Point reference, const Rect* clip, std::string_view text, const AdvanceTable& advanceOf) {
    const auto length = static_cast<std::uint32_t>(text.size());
    const std::uint32_t stringBytes = (length * 2 + 3) / 4 * 4;
    RecordWriter record = Begin(kExtTextOutW, std::size_t{kTextStringOffset} + stringBytes + 4 * text.size());
    Bounds(record, CellsOf(clip != nullptr ? *clip : picture_));
    record.U32(kCompatibleGraphicsMode);
    // Hundredths of a millimetre per logical unit, which the compatible graphics mode names.
    record.F32(static_cast<float>(kHundredthsMmPerInch) / static_cast<float>(screen_.x));
    record.F32(static_cast<float>(kHundredthsMmPerInch) / static_cast<float>(screen_.y));
    record.I32(reference.x);
    record.I32(reference.y);
    record.U32(length);
    record.U32(kTextStringOffset);
    record.U32(clip != nullptr ? kTextClipped : 0);
    const Rect rectangle = clip != nullptr ? *clip : Rect{0, 0, 0, 0};
    for (const int edge : {rectangle.left, rectangle.top, rectangle.right, rectangle.bottom}) record.I32(edge);
    record.U32(kTextStringOffset + stringBytes);
    for (const char c : text) record.U16(Windows1252ToUtf16(static_cast<std::uint8_t>(c)));
    record.Zeros(stringBytes - length * 2);
    for (const char c : text) record.I32(advanceOf[static_cast<std::uint8_t>(c)]);
  }

  void MoveTo(Point p) { PointRecord(kMoveToEx, p); }
  void LineTo(Point p) { PointRecord(kLineTo, p); }

  // No palette: its count 0, where it would start, and the record's own size last.
  void Eof() {
    RecordWriter record = Begin(kEof, kEofSize);
    record.U32(0);
    record.U32(16);
    record.U32(kEofSize);
  }

 private:
  // A record of `size` bytes in all, its type and size written.
  RecordWriter Begin(EmfType type, std::size_t size) {
    RecordWriter record = out_.Append(size);
    record.U32(type);
    record.U32(static_cast<std::uint32_t>(size));
    ++count_;
    return record;
  }

  void ValueRecord(EmfType type, std::uint32_t value) { Begin(type, 12).U32(value); }
  void PointRecord(EmfType type, Point p) {
    RecordWriter record = Begin(type, 16);
    record.I32(p.x);
    record.I32(p.y);
  }
  static void Bounds(RecordWriter& record, const InclusiveBounds& b) {
    for (const std::int32_t edge : {b.left, b.top, b.right, b.bottom}) record.I32(edge);
  }

  RecordBuffer& out_;
  Rect picture_;
  ScreenResolution screen_;
  std::uint32_t count_ = 0;
};

void PatchHeader(RecordBuffer& out, int width, int height, ScreenResolution screen, std::uint32_t records,
                 std::uint16_t handles) {
  const auto patchRect = [&out](std::size_t at, std::int32_t l, std::int32_t t, std::int32_t r,
                                std::int32_t b) {
    for (const std::int32_t edge : {l, t, r, b}) {
      out.PatchU32(at, static_cast<std::uint32_t>(edge));
      at += 4;
    }
  };
  patchRect(8, 0, 0, width - 1, height - 1);  // bounds: the picture's cells
  patchRect(24, 0, 0, HundredthsMm(width, screen.x) - 1, HundredthsMm(height, screen.y) - 1);  // frame
  out.PatchU32(40, kEmfSignature);
  out.PatchU32(44, kVersion);
  out.PatchU32(48, static_cast<std::uint32_t>(out.Size()));
  out.PatchU32(52, records);
  out.PatchU16(56, handles);
  // Description, palette entries and pixel format (60 to 71 and 88 to 99): none, their fields 0.
  // The reference screen in pixels, in millimetres and in micrometres.
  out.PatchU32(72, static_cast<std::uint32_t>(Saturated(kReferenceInches * screen.x)));
  out.PatchU32(76, static_cast<std::uint32_t>(Saturated(kReferenceInches * screen.y)));
  constexpr auto kReferenceMm = static_cast<std::uint32_t>(kReferenceInches * kHundredthsMmPerInch / 100);
  out.PatchU32(80, kReferenceMm);
  out.PatchU32(84, kReferenceMm);
  out.PatchU32(100, kReferenceMm * 1000);
  out.PatchU32(104, kReferenceMm * 1000);
}

}  // namespace

std::optional<FileBytes> EncodeEmf(const Surface& surface, ScreenResolution screen) {
  const int width = surface.Width(), height = surface.Height();
  if (width < 0 || height < 0 || screen.x < 1 || screen.y < 1) return std::nullopt;
  try {
    RecordBuffer out;
    out.Reserve(kHeaderSize + kRoomPerOperation * surface.Operations().size());
    EmfRecords records(out, Rect{0, 0, width, height}, screen);
    records.ReserveHeader();
    records.SetMapMode(kTextMapMode);
    records.SetWindowExtEx(width, height);
    records.SetWindowOrgEx(0, 0);
    MetafileReplay<EmfRecords> replay(records, width, height);
    replay.Play(surface);
    replay.ReleaseObjects();
    records.Eof();

    if (out.Size() > std::numeric_limits<std::uint32_t>::max() ||
        replay.ObjectTableSize() > std::numeric_limits<std::uint16_t>::max())
      return std::nullopt;
    PatchHeader(out, width, height, screen, records.Count(),
                static_cast<std::uint16_t>(replay.ObjectTableSize()));
    return std::move(out.Bytes());
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace varnel
