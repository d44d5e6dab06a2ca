// The application object: the event loop and the report of errors that
// escape an event handler.

#include "ZtApplication.h"

#include "ZtErrorReport.h"
#include "ZtPrompter.h"

#include <QIcon>

// The bundled icon lives in a static library: its resources are linked in
// only when asked for, which must happen outside any namespace.
static void LinkIconResource()
{
    Q_INIT_RESOURCE(quorvex);
}

namespace quorvex {

TZtApplication::TZtApplication(int& argc, char** argv, TZtPrompter& prompter)
    : QApplication(argc, argv)
    , FPrompter(prompter)
{
    setApplicationName(QStringLiteral("quorvex"));
    setDesktopFileName(QStringLiteral("quorvex"));
    // The installed icon, so the theme decides its look; the bundled one
    // where the program runs uninstalled.
    LinkIconResource();
    setWindowIcon(QIcon::fromTheme(QStringLiteral("quorvex"), QIcon(QStringLiteral(":/icons/quorvex.svg"))));
}

void TZtApplication::ChooseUtf8WhereNoLocaleIsSet()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"})
        if (!qEnvironmentVariableIsEmpty(variable)) return;
    // Only the characters: messages, numbers and dates stay as C has them.
    qputenv("LC_CTYPE", "C.UTF-8");
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
