#include "picture_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace varnel::tool {
namespace {

std::string CannotWrite(const std::string& path, const std::string& problem) {
  return "cannot write " + (path == kStandardOutput ? std::string("standard output") : path) + ": " + problem;
}

std::string TooLarge(const OutputFormat& format, Pair size) {
  if (format.largestSide == 0 || (size.first <= format.largestSide && size.second <= format.largestSide)) return {};
  return "a " + std::string(format.name) + " picture is at most " + std::to_string(format.largestSide) +
         " pixels a side, and this one is " + std::to_string(size.first) + "x" + std::to_string(size.second);
}

// The library's save of each format, by its memory output's number.
using SaveExport = VnBool(VN_CALL*)(VnContext* context, const char* path);
constexpr SaveExport kSaves[] = {nullptr,        VnCtxSaveAsBMP, VnCtxSaveAsWMF,
                                 VnCtxSaveAsEMF, VnCtxSaveAsSVG, VnCtxSaveAsPNG};
static_assert(VN_FORMAT_BMP == 1 && VN_FORMAT_WMF == 2 && VN_FORMAT_EMF == 3 && VN_FORMAT_SVG == 4 &&
              VN_FORMAT_PNG == 5);

// The kept picture is copied out, not drawn again.
std::string WriteStandardOutput(VnContext* context, const OutputFormat& format) {
  std::vector<char> bytes(static_cast<std::size_t>(VnCtxRenderToMemory(context, format.memoryFormat, nullptr, 0)));
  VnCtxRenderToMemory(context, format.memoryFormat, bytes.data(), static_cast<int>(bytes.size()));
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
    return std::strerror(errno);
  }
  return {};
}

}  // namespace

std::string DrawPicture(VnContext* context, const std::string& path, const OutputFormat& format, Pair size) {
  std::string problem = TooLarge(format, size);
  if (problem.empty() && VnCtxRenderToMemory(context, format.memoryFormat, nullptr, 0) <= 0) {
    problem = "the picture is too large for the memory there is";
  }
  return problem.empty() ? problem : CannotWrite(path, problem);
}

std::string WritePicture(VnContext* context, const std::string& path, const OutputFormat& format) {
  if (path == kStandardOutput) {
    const std::string problem = WriteStandardOutput(context, format);
    return problem.empty() ? problem : CannotWrite(path, problem);
  }
  if (kSaves[format.memoryFormat](context, path.c_str()) != 0) return {};
  return CannotWrite(path, std::strerror(VnCtxGetLastSaveError(context)));
}

}  // namespace varnel::tool
