// What became of the last render's data, kept for hosts that ask afterwards whether it was drawn.
#pragma once

namespace varnel {

// The validation message of the last render, or "" when it drew its data (and before any render).
const char* LastRenderError();

// Called once per render, after validation: the refusal's message, or null when the data is drawn.
void RecordRenderOutcome(const char* refusal);

}  // namespace varnel
