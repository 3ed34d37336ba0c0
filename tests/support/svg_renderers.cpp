#include "support/svg_renderers.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/png_reader.h"

namespace varnel::testing {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The paths the tests make are temporary folders and plain names: nothing to quote but the quote.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

SvgRendering Run(const std::string& commandLine, const std::string& pngPath) {
  const std::string errorsPath = pngPath + ".errors";
  std::remove(pngPath.c_str());
  const int status = std::system((commandLine + " >/dev/null 2>" + Quoted(errorsPath)).c_str());
  SvgRendering rendering;
  rendering.errors = ReadText(errorsPath);
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    rendering.errors += "\nexit status " + std::to_string(status == -1 ? -1 : WEXITSTATUS(status));
    return rendering;
  }
  const auto png = ReadPng(pngPath);
  if (!png) {
    rendering.errors += "\nno readable PNG at " + pngPath;
    return rendering;
  }
  rendering.picture = png->pixels;
  rendering.alpha = png->alpha;
  return rendering;
}

}  // namespace

bool HaveCommand(const std::string& name) {
  return std::system(("command -v " + Quoted(name) + " >/dev/null 2>&1").c_str()) == 0;
}

SvgRendering RenderWithRsvg(const std::string& svgPath, int dpiX, int dpiY) {
  const std::string pngPath = svgPath + ".rsvg.png";
  return Run("timeout -k 5 60 rsvg-convert -f png --dpi-x " + std::to_string(dpiX) + " --dpi-y " +
                 std::to_string(dpiY) + " -o " + Quoted(pngPath) + " " + Quoted(svgPath),
             pngPath);
}

SvgRendering ScreenshotWithChromium(const std::string& svgPath, int width, int height,
                                    const std::string& scratchFolder) {
  const std::string pngPath = svgPath + ".chromium.png";
  const std::string profile = scratchFolder + "/chromium-profile";
  std::filesystem::create_directories(profile);
  const std::string url = "file://" + std::filesystem::absolute(svgPath).string();
  const std::string commandLine =
      "timeout -k 5 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
      " --disable-background-networking --disable-component-update --disable-sync"
      " --hide-scrollbars --force-device-scale-factor=1 --user-data-dir=" +
      Quoted(profile) + " --screenshot=" + Quoted(pngPath) + " --window-size=" + std::to_string(width) + "," +
      std::to_string(height) + " " + Quoted(url);
  // A headless browser now and then exits before it has taken its screenshot; a second try tells
  // that from a picture it cannot show.
  SvgRendering rendering = Run(commandLine, pngPath);
  if (!rendering.picture) rendering = Run(commandLine, pngPath);
  return rendering;
}

}  // namespace varnel::testing
