#include "encoder_harness.h"
#include "drawing/context.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "writers/bmp_file.h"
#include "writers/emf_file.h"
#include "drawing/surface.h"
#include "writers/wmf_file.h"
#include "engine/human_readable.h"
#include "base/int_math.h"
#include "drawing/context.h"
#include "engine/validation.h"
#include "varnel32.h"

namespace varnel::fuzz {
namespace {

// The recorded picture stays small: the encoders' extremes are in the state, not in the raster.
constexpr int kPictureCap = 1024;

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

bool IsTerminated(const char (&buffer)[kMessageCapacity]) { return strnlen(buffer, kMessageCapacity) < kMessageCapacity; }

// A fixed message, or one composed into the context's own buffer (GS1-128 names the AI and its fault).
bool IsKnownRefusal(const char* message) {
  if (message == DefaultContext().refusalText) return message[0] != '\0';
  for (const char* known : {kWrongSupplement2, kWrongSupplement5, kWrongDataFormat, k12DigitsRequired,
                            k7DigitsRequired, k10DigitsRequired, k11DigitsRequired, kOnlyDigitsAllowed,
                            kLeading49Required, kEvenLengthRequired, kNumberSystemRequired,
                            kZeroSuppressibleRequired}) {
    if (message == known) return true;
  }
  return false;
}

// Everyday values most of the time, any value the driver can produce otherwise.
int Width(FuzzInput& in, int lowest) {
  if (in.Choice(4) != 0) return lowest + in.Choice(12);
  return std::max(lowest, in.Int());
}

void SetUpSettings(FuzzInput& in) {
  const int show = in.Int(), add = in.Int(), inText = in.Int();
  VnTextInfo(show, add, inText);
  const int start = in.Int(), stop = in.Int();
  VnCodaBarInfo(start, stop);
  VnUPCESystem(in.Int());
  const int kind = in.Int();
  const auto digits = in.Text();
  VnSupplementInfo(kind, PointerTo(digits), in.Double());
  DefaultContext().settings.orientation = static_cast<std::int16_t>(in.Choice(4));
  DefaultContext().settings.font.lfHeight = in.Choice(2) != 0 ? 24 : in.Int();
  VnSetMessage(PointerTo(in.Text()));
}

// The sizes the driver would compute, from the input instead of from centimetres.
void SetUpState(FuzzInput& in, Surface& surface) {
  DefaultContext().state.surface = &surface;
  DefaultContext().state.barBrush = Brush{DefaultContext().settings.barColor};
  DefaultContext().state.backBrush = Brush{DefaultContext().settings.backColor};
  DefaultContext().state.originX = 0;
  DefaultContext().state.originY = 0;
  DefaultContext().state.dpiAlong = Width(in, 1);
  DefaultContext().state.dpiAcross = Width(in, 1);
  DefaultContext().state.narrowWidth = Width(in, 1);
  DefaultContext().state.wideWidth = Width(in, 0);
  DefaultContext().state.barHeight = in.Choice(2) != 0 ? 56 : std::max(0, in.Int());
  DefaultContext().state.textBand = DefaultContext().settings.showText != 0 ? ClampToInt(std::int64_t{DefaultContext().settings.font.lfHeight} - 4) : 0;
}

// One pass from `start`; where the cursor ends.
int RunPass(const FamilyMember& member, WalkJobs jobs, int start) {
  DefaultContext().state.walk = jobs;
  DefaultContext().state.cursor = start;
  DefaultContext().state.symbolEnd = 0;
  member.encode(DefaultContext());
  return DefaultContext().state.cursor;
}

void EncodeSurface(FuzzInput& in, const Surface& surface) {
  switch (in.Choice(3)) {
    case 0: EncodeOneBitBmp(surface, Palette{DefaultContext().settings.barColor, DefaultContext().settings.backColor}); break;
    case 1: EncodePlaceableWmf(surface, 96); break;
    default: EncodeEmf(surface, ScreenResolution{96, 96}); break;
  }
}

}  // namespace

void RunEncoderFamily(std::span<const FamilyMember> family, const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  VnSetDefault();
  const FamilyMember& member = family[in.Choice(static_cast<int>(family.size()))];
  DefaultContext().settings.symbology = member.symbology;
  SetUpSettings(in);

  const int width = 1 + in.Choice(4) * 64 + in.Byte() % kPictureCap / 4;
  const int height = 1 + in.Choice(4) * 64 + in.Byte() % kPictureCap / 4;
  DefaultContext().settings.width = width;
  DefaultContext().settings.height = height;
  Surface surface(width, height);
  SetUpState(in, surface);

  DefaultContext().state.errorMessage = nullptr;
  if (ValidateMessage(DefaultContext()) == 0) {
    Require(DefaultContext().state.errorMessage != nullptr && IsKnownRefusal(DefaultContext().state.errorMessage), "a refusal names its message");
    DefaultContext().state.surface = nullptr;
    return;
  }

  DefaultContext().state.offsetX = 0;
  DefaultContext().state.offsetY = 0;
  const int measured = RunPass(member, WalkJobs{.preparesData = true, .draws = false}, 0);
  Require(measured >= 0, "a symbol never measures less than nothing");

  DefaultContext().state.offsetX = in.Choice(2) != 0 ? in.Byte() : std::max(0, in.Int());
  DefaultContext().state.offsetY = in.Choice(2) != 0 ? in.Byte() : std::max(0, in.Int());
  DefaultContext().state.humanText[0] = '\0';
  const int start = RunsVertically(DefaultContext().settings.orientation) ? DefaultContext().state.offsetY : DefaultContext().state.offsetX;
  const int end = RunPass(member, WalkJobs{.preparesData = false, .draws = true}, start);
  // Positions saturate rather than overflow, and an encoder may step back (the postal symbols end
  // three narrow widths short), so the two passes agree exactly only where nothing saturated.
  if (measured <= INT_MAX / 2 && start <= INT_MAX / 8 && DefaultContext().state.narrowWidth <= INT_MAX / 8)
    Require(end == start + measured, "both passes advance the cursor alike");
  DrawHumanReadable(DefaultContext());

  Require(IsTerminated(DefaultContext().state.workMessage) && IsTerminated(DefaultContext().state.humanText) && IsTerminated(DefaultContext().state.isbnCaption),
          "the text buffers stay terminated");
  EncodeSurface(in, surface);
  DefaultContext().state.surface = nullptr;
}

}  // namespace varnel::fuzz
