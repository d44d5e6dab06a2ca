// How errors reach the user: the sentence rule of the standard box, the
// fatal report, and the application object that catches what escapes.

#include "ScriptedPrompter.h"
#include "ShownText.h"
#include "ZtErrorReport.h"
#include "ZtErrors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

namespace quorvex::testing {
namespace {

TEST(ErrorReportTest, AFullStopFollowsMessagesEndingAfterDot)
{
    EXPECT_EQ(SentenceText("Range check error"), QStringLiteral("Range check error."));
    EXPECT_EQ(SentenceText("Cannot open file /tmp/a.fa4"), QStringLiteral("Cannot open file /tmp/a.fa4."));
    EXPECT_EQ(SentenceText("Done."), QStringLiteral("Done."));
    EXPECT_EQ(SentenceText("Stop!"), QStringLiteral("Stop!"));
    EXPECT_EQ(SentenceText("name (x)"), QStringLiteral("name (x)")) << "')' sorts before '.'";
    EXPECT_EQ(SentenceText("dir/"), QStringLiteral("dir/.")) << "'/' sorts after '.'";
    EXPECT_EQ(SentenceText("Umlaut \xE4"), QString::fromLocal8Bit("Umlaut \xE4") + u'.');
    EXPECT_EQ(SentenceText(""), QString());
}

TEST(ErrorReportTest, TheFatalReportNamesTheKindOfError)
{
    const QString text = FatalErrorText(EZtError("Cannot open file x"));
    EXPECT_EQ(text, QStringLiteral("Exception EZtError in module quorvex.\nCannot open file x."));
    EXPECT_TRUE(FatalErrorText(ERangeError()).contains(QStringLiteral("ERangeError")));
}

TEST(ErrorReportTest, AGuardedCommandReportsInTheStandardBox)
{
    TScriptedPrompter prompter;
    RunGuarded(prompter, nullptr, [] { throw EZtError("unrecognized page of page control"); });
    RunGuarded(prompter, nullptr, [] {});
    ASSERT_EQ(prompter.Boxes.size(), 1u);
    EXPECT_EQ(prompter.Boxes[0].Title, QStringLiteral("Quorvex"));
    EXPECT_EQ(prompter.Boxes[0].Text, QStringLiteral("unrecognized page of page control."));
}

class TThrowingObject : public QObject {
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User) throw EZtError("Cannot create file out.html");
        return QObject::event(event);
    }
};

TEST(ErrorReportTest, TheApplicationReportsWhatEscapesAnEventHandler)
{
    TScriptedPrompter& prompter = ApplicationPrompter();
    prompter.Boxes.clear();
    TThrowingObject receiver;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &event);
    ASSERT_EQ(prompter.Boxes.size(), 1u);
    EXPECT_EQ(prompter.Boxes[0].Title, QStringLiteral("Quorvex"));
    EXPECT_EQ(prompter.Boxes[0].Text, QStringLiteral("Cannot create file out.html."));

    // The loop goes on: the next event is delivered as usual.
    QEvent next(QEvent::None);
    QCoreApplication::sendEvent(&receiver, &next);
    EXPECT_EQ(prompter.Boxes.size(), 1u);
}

// A name that looks like markup is shown as it is.
TEST(ErrorReportTest, TheToolkitBoxHasAnErrorIconAndOneOkButton)
{
    QString title;
    QString text;
    QString shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    QTimer::singleShot(50, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                shown = ShownText(*label);
            icon = box->icon();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        }
    });
    TZtQtPrompter prompter;
    ShowStandardError(prompter, nullptr, "Cannot open file <b>a</b>.fa4");
    EXPECT_EQ(title, QStringLiteral("Quorvex"));
    EXPECT_EQ(text, QStringLiteral("Cannot open file <b>a</b>.fa4."));
    EXPECT_EQ(shown, text);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
}

} // namespace
} // namespace quorvex::testing
