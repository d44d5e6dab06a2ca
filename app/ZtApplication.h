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

    // Any error escaping the delivery of an event ends that event only: it
    // is shown in the standard error box and the loop goes on.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    TZtPrompter& FPrompter;
};

} // namespace quorvex
