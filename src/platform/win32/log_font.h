// The engine's font description as the platform's own, for GDI's CreateFontIndirectA.
#pragma once

#include <cstring>

#include "base/gdi_types.h"

#include "platform/win32/windows_api.h"

namespace varnel {

// A font description in the platform's own terms, field for field.
inline LOGFONTA ToLogFont(const FontDescription& font) {
  LOGFONTA log{};
  log.lfHeight = font.lfHeight;
  log.lfWidth = font.lfWidth;
  log.lfEscapement = font.lfEscapement;
  log.lfOrientation = font.lfOrientation;
  log.lfWeight = font.lfWeight;
  log.lfItalic = font.lfItalic;
  log.lfUnderline = font.lfUnderline;
  log.lfStrikeOut = font.lfStrikeOut;
  log.lfCharSet = font.lfCharSet;
  log.lfOutPrecision = font.lfOutPrecision;
  log.lfClipPrecision = font.lfClipPrecision;
  log.lfQuality = font.lfQuality;
  log.lfPitchAndFamily = font.lfPitchAndFamily;
  static_assert(sizeof log.lfFaceName == sizeof font.lfFaceName);
  std::memcpy(log.lfFaceName, font.lfFaceName, sizeof log.lfFaceName);
  return log;
}

}  // namespace varnel
