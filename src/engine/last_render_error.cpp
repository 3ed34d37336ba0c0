#include "engine/last_render_error.h"

namespace varnel {
namespace {

// The refusal messages are constant texts, so keeping the pointer keeps the text.
const char* lastError = "";

}  // namespace

const char* LastRenderError() { return lastError; }

void RecordRenderOutcome(const char* refusal) { lastError = refusal != nullptr ? refusal : ""; }

}  // namespace varnel
