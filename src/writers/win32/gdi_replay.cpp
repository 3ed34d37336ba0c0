#include <optional>

#include "writers/metafile_replay.h"

// Last: they bring in <windows.h>.
#include "platform/win32/log_font.h"
#include "writers/win32/gdi_replay.h"

namespace varnel {
namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

class GdiReplay {
 public:
  GdiReplay(HDC dc, int width, int height) : dc_(dc), picture_{0, 0, width, height} {}
  GdiReplay(const GdiReplay&) = delete;
  GdiReplay& operator=(const GdiReplay&) = delete;

  ~GdiReplay() {
    if (font_ != nullptr) {
      SelectObject(dc_, originalFont_);
      DeleteObject(font_);
    }
    if (brush_ != nullptr) DeleteObject(brush_);
  }

  // False once the platform refused a call: it had no room for an object or a record, and the
  // picture is not what was recorded.
  bool Drawn() const { return drawn_; }

  void OnFill(const FillOp& fill) {
    const Rect cells = Intersection(fill.rect, picture_);
    if (IsEmpty(cells)) return;
    const HBRUSH brush = BrushOf(fill.color);
    const RECT r = ToRect(cells);
    Require(brush != nullptr && FillRect(dc_, &r, brush) != 0);
  }

  // Clipping is the only option the surface records. State a run shares with the one before is
  // not set again, which keeps a metafile free of repeated records.
  void OnText(const TextOp& text) {
    const bool clipped = (text.options & kTextClipped) != 0;
    const Rect area = clipped ? Intersection(text.clip, picture_) : picture_;
    if (IsEmpty(area)) return;
    UseFont(MetafileFont(text.font));
    if (textColor_ != text.textColor) {
      textColor_ = text.textColor;
      Require(::SetTextColor(dc_, text.textColor) != CLR_INVALID);
    }
    if (backColor_ != text.backColor) {
      backColor_ = text.backColor;
      Require(::SetBkColor(dc_, text.backColor) != CLR_INVALID);
    }
    if (align_ != text.align) {
      align_ = text.align;
      Require(::SetTextAlign(dc_, text.align) != GDI_ERROR);
    }
    const RECT r = ToRect(area);
    Require(ExtTextOutA(dc_, text.reference.x, text.reference.y, clipped ? ETO_CLIPPED : 0, clipped ? &r : nullptr,
                        text.text.data(), static_cast<UINT>(text.text.size()), nullptr) != 0);
  }

  void OnLine(const LineOp& line) {
    if (position_ != line.from) Require(MoveToEx(dc_, line.from.x, line.from.y, nullptr) != 0);
    Require(::LineTo(dc_, line.to.x, line.to.y) != 0);
    position_ = line.to;
  }

 private:
  void Require(bool succeeded) { drawn_ = drawn_ && succeeded; }

  // One brush at a time, kept while the fills keep its colour; a brush is never selected.
  HBRUSH BrushOf(COLORREF color) {
    if (brush_ != nullptr && brushColor_ == color) return brush_;
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = CreateSolidBrush(color);
    brushColor_ = color;
    return brush_;
  }

  // The new font is selected before the one it replaces is deleted.
  void UseFont(const FontDescription& font) {
    if (font_ != nullptr && SameFont(currentFont_, font)) return;
    const LOGFONTA log = ToLogFont(font);
    const HFONT created = CreateFontIndirectA(&log);
    Require(created != nullptr);
    if (created == nullptr) return;
    const HGDIOBJ previous = SelectObject(dc_, created);
    if (font_ == nullptr) {
      originalFont_ = previous;
    } else {
      DeleteObject(font_);
    }
    font_ = created;
    currentFont_ = font;
  }

  HDC dc_;
  Rect picture_;
  bool drawn_ = true;
  HBRUSH brush_ = nullptr;
  COLORREF brushColor_ = 0;
  HFONT font_ = nullptr;
  HGDIOBJ originalFont_ = nullptr;
  FontDescription currentFont_{};
  // Unknown until first set: the context's defaults are not relied on.
  std::optional<COLORREF> textColor_;
  std::optional<COLORREF> backColor_;
  std::optional<unsigned> align_;
  // A fresh context's pen stands at the origin.
  Point position_{0, 0};
};

}  // namespace

bool ReplayOnto(HDC dc, const Surface& surface) {
  GdiReplay replay(dc, surface.Width(), surface.Height());
  surface.Replay(replay);
  return replay.Drawn();
}

}  // namespace varnel
