// Waits until the preview has loaded its page and drawn it once: the moment
// a reader sees the page.
#pragma once

namespace quorvex {
class TZtHtmlPreview;
}

namespace quorvex::bench {

// False when the page failed to load or nothing was drawn in time.
bool WaitUntilPainted(TZtHtmlPreview& preview);

// Peak resident memory in kB of this process, and the sum of the peaks of
// the engine's processes it started.
long PeakResidentKb();
long EnginePeakResidentKb();

} // namespace quorvex::bench
