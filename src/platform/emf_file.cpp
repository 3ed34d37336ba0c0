#include "platform/emf_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string_view>

#include "platform/metafile_records.h"
#include "platform/metafile_replay.h"
#include "platform/windows_1252.h"

namespace varnel {
namespace {

// Record types of the enhanced metafile format.
enum EmfType : std::uint32_t {
  kHeader = 1,
  kPolygon = 3,
  kSetWindowExtEx = 9,
  kSetWindowOrgEx = 10,
  kEof = 14,
  kSetMapMode = 17,
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

// Bounds are inclusive: the cells left <= x < right end at column right - 1.
struct InclusiveBounds {
  std::int32_t left, top, right, bottom;
};
InclusiveBounds CellsOf(const Rect& r) { return {r.left, r.top, r.right - 1, r.bottom - 1}; }

class EmfRecords {
 public:
  static constexpr std::uint32_t kFirstObjectIndex = 1;
  static constexpr bool kFillDrawsOutline = false;

  EmfRecords(RecordBuffer& out, const Rect& picture, ScreenResolution screen)
      : out_(out), picture_(picture), screen_(screen) {}

  std::uint32_t Count() const { return count_; }

  // The header goes first and is filled in by Finish.
  void ReserveHeader() {
    Begin(kHeader);
    out_.Zeros(kHeaderSize - 8);
    End();
  }

  void SetMapMode(std::uint32_t mode) { ValueRecord(kSetMapMode, mode); }
  void SetWindowExtEx(int width, int height) { PointRecord(kSetWindowExtEx, Point{width, height}); }
  void SetWindowOrgEx(int x, int y) { PointRecord(kSetWindowOrgEx, Point{x, y}); }

  void CreatePen(std::uint32_t index, MetafilePen pen) {
    Begin(kCreatePen);
    out_.U32(index);
    out_.U32(pen == MetafilePen::kNull ? kNullPenStyle : kSolidStyle);
    out_.I32(pen == MetafilePen::kNull ? 0 : 1);  // the width is a point whose x is the width
    out_.I32(0);
    out_.U32(kBlack);
    End();
  }

  void CreateBrush(std::uint32_t index, COLORREF color) {
    Begin(kCreateBrushIndirect);
    out_.U32(index);
    out_.U32(kSolidStyle);
    out_.U32(color);
    out_.U32(0);  // hatch, unused by a solid brush
    End();
  }

  // The font as the 92-byte wide-character font description.
  void CreateFont(std::uint32_t index, const FontDescription& font) {
    Begin(kExtCreateFontIndirectW);
    out_.U32(index);
    for (const std::int32_t value :
         {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight})
      out_.I32(value);
    for (const std::uint8_t value :
         {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
          font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily})
      out_.U8(value);
    for (const char c : font.lfFaceName) out_.U16(Windows1252ToUtf16(static_cast<std::uint8_t>(c)));
    End();
  }

  void SelectObject(std::uint32_t index) { ValueRecord(kSelectObject, index); }
  void DeleteObject(std::uint32_t index) { ValueRecord(kDeleteObject, index); }
  void SelectDefaultObjects() {
    for (const std::uint32_t stock : {kBlackPen, kWhiteBrush, kSystemFont}) SelectObject(stock);
  }

  void SetTextColor(COLORREF color) { ValueRecord(kSetTextColor, color); }
  void SetBkColor(COLORREF color) { ValueRecord(kSetBkColor, color); }
  void SetTextAlign(unsigned align) { ValueRecord(kSetTextAlign, align); }

  // A path of one polygon through the four corners, filled: a filled path has no outline at all,
  // where readers that outline a shape drawn with a null pen would still widen a polygon.
  void FillCells(const Rect& r) {
    Begin(kBeginPath);
    End();
    Begin(kPolygon);
    Bounds(CellsOf(r));
    out_.U32(4);
    for (const Point corner :
         {Point{r.left, r.top}, Point{r.right, r.top}, Point{r.right, r.bottom}, Point{r.left, r.bottom}}) {
      out_.I32(corner.x);
      out_.I32(corner.y);
    }
    End();
    Begin(kEndPath);
    End();
    Begin(kFillPath);
    Bounds(CellsOf(r));
    End();
  }

  void TextOut(Point reference, const Rect* clip, std::string_view text, const std::vector<int>& advances) {
    const auto length = static_cast<std::uint32_t>(text.size());
    const std::uint32_t stringBytes = (length * 2 + 3) / 4 * 4;
    Begin(kExtTextOutW);
    Bounds(CellsOf(clip != nullptr ? *clip : picture_));
    out_.U32(kCompatibleGraphicsMode);
    // Hundredths of a millimetre per logical unit, which the compatible graphics mode names.
    out_.F32(static_cast<float>(kHundredthsMmPerInch) / static_cast<float>(screen_.x));
    out_.F32(static_cast<float>(kHundredthsMmPerInch) / static_cast<float>(screen_.y));
    out_.I32(reference.x);
    out_.I32(reference.y);
    out_.U32(length);
    out_.U32(kTextStringOffset);
    out_.U32(clip != nullptr ? kTextClipped : 0);
    const Rect rectangle = clip != nullptr ? *clip : Rect{0, 0, 0, 0};
    for (const int edge : {rectangle.left, rectangle.top, rectangle.right, rectangle.bottom}) out_.I32(edge);
    out_.U32(kTextStringOffset + stringBytes);
    for (const char c : text) out_.U16(Windows1252ToUtf16(static_cast<std::uint8_t>(c)));
    out_.Zeros(stringBytes - length * 2);
    for (const int advance : advances) out_.I32(advance);
    End();
  }

  void MoveTo(Point p) { PointRecord(kMoveToEx, p); }
  void LineTo(Point p) { PointRecord(kLineTo, p); }

  // No palette: its count 0, where it would start, and the record's own size last.
  void Eof() {
    Begin(kEof);
    out_.U32(0);
    out_.U32(16);
    out_.U32(kEofSize);
    End();
  }

 private:
  void Begin(EmfType type) {
    start_ = out_.Size();
    out_.U32(type);
    out_.U32(0);
    ++count_;
  }
  void End() { out_.PatchU32(start_ + 4, static_cast<std::uint32_t>(out_.Size() - start_)); }

  void ValueRecord(EmfType type, std::uint32_t value) {
    Begin(type);
    out_.U32(value);
    End();
  }
  void PointRecord(EmfType type, Point p) {
    Begin(type);
    out_.I32(p.x);
    out_.I32(p.y);
    End();
  }
  void Bounds(const InclusiveBounds& b) {
    for (const std::int32_t edge : {b.left, b.top, b.right, b.bottom}) out_.I32(edge);
  }

  RecordBuffer& out_;
  Rect picture_;
  ScreenResolution screen_;
  std::size_t start_ = 0;
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

std::optional<std::vector<std::uint8_t>> EncodeEmf(const Surface& surface, ScreenResolution screen) {
  const int width = surface.Width(), height = surface.Height();
  if (width < 0 || height < 0 || screen.x < 1 || screen.y < 1) return std::nullopt;
  try {
    RecordBuffer out;
    EmfRecords records(out, Rect{0, 0, width, height}, screen);
    records.ReserveHeader();
    records.SetMapMode(kTextMapMode);
    records.SetWindowExtEx(width, height);
    records.SetWindowOrgEx(0, 0);
    MetafileReplay<EmfRecords> replay(records, width, height);
    surface.Replay(replay);
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
