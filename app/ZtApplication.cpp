// The application object: the event loop and the report of errors that
// escape an event handler.

#include "ZtApplication.h"

#include "ZtErrorReport.h"
#include "ZtPrompter.h"

namespace quorvex {

TZtApplication::TZtApplication(int& argc, char** argv, TZtPrompter& prompter)
    : QApplication(argc, argv)
    , FPrompter(prompter)
{
    setApplicationName(QStringLiteral("quorvex"));
    setDesktopFileName(QStringLiteral("quorvex"));
}

bool TZtApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException(FPrompter, activeWindow());
        return false;
    }
}

} // namespace quorvex
