// Reads what the preview shows, the way a reader sees it: scripts run in
// the application's own world, which works while page scripts are off.
#pragma once

#include <QString>
#include <QVariant>

namespace quorvex {
class TZtHtmlPreview;
}

namespace quorvex::testing {

// Waits until the page last given to the preview has loaded; false when it
// failed or the engine took longer than a generous bound.
bool WaitUntilLoaded(TZtHtmlPreview& preview);
// The value of a script expression evaluated on the loaded page.
QVariant Evaluate(TZtHtmlPreview& preview, const QString& script);
// The text a reader sees on the loaded page.
QString PageText(TZtHtmlPreview& preview);

} // namespace quorvex::testing
