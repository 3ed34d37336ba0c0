#include "output/bmp_output.h"

#include "platform/bmp_file.h"
#include "platform/file_replace.h"
#include "render/render_driver.h"
#include "render/render_state.h"

namespace varnel {

bool SaveAsBmp(const char* path) {
  if (path == nullptr) return false;
  Surface surface(settings.width, settings.height);
  state.surface = &surface;
  state.originX = 0;
  state.originY = 0;
  RenderBarcode();
  state.surface = nullptr;

  const auto file = EncodeOneBitBmp(surface, Palette{settings.barColor, settings.backColor});
  return file && ReplaceFileContents(path, file->data(), file->size());
}

}  // namespace varnel
