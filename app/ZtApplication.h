// The application object: the event loop of the one window, and the last
// place where an error that escaped an event handler is reported.
#pragma once

#include <QApplication>

namespace quorvex {

class TZtPrompter;

class TZtApplication : public QApplication {
    Q_OBJECT

public:
    TZtApplication(int& argc, char** argv, TZtPrompter& prompter);

    // Where no locale is chosen at all (LC_ALL, LC_CTYPE and LANG unset, as
    // in cron, a container or a minimal system), the characters are UTF-8
    // all the same: the toolkit needs that and would otherwise say so on
    // standard error each start. A locale the user chose stays, also one
    // that is not UTF-8. Call before the application object is made.
    static void ChooseUtf8WhereNoLocaleIsSet();

    // Any error escaping the delivery of an event ends that event only: it
    // is shown in the standard error box and the loop goes on.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    TZtPrompter& FPrompter;
};

} // namespace quorvex
