// Finding in the preview: hits counted and stepped through in both
// directions, case and accents ignored as the browser ignores them, marks
// made again on a new page, and Esc closing the bar.
#include "PreviewProbe.h"
#include "ZtFindBar.h"
#include "ZtHtmlPreview.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <string>

using namespace quorvex;
using namespace quorvex::testing;

namespace {

struct FindBarTest : ::testing::Test {
    FindBarTest()
    {
        auto* layout = new QVBoxLayout(&page);
        layout->addWidget(preview, 1);
        layout->addWidget(bar);
        page.resize(600, 400);
        page.show();
    }

    void Show(const char* body)
    {
        preview->ShowHtml(std::string("<html><body>") + body + "</body></html>");
        ASSERT_TRUE(WaitUntilLoaded(*preview));
    }

    // Waits for the engine's count after `action`; the label then shows it.
    QString CountAfter(const std::function<void()>& action)
    {
        QSignalSpy counted(bar, &TZtFindBar::Counted);
        action();
        if (counted.isEmpty()) counted.wait(10000);
        return bar->Hits->text();
    }

    QString Type(const char* text)
    {
        return CountAfter([&] { QTest::keyClicks(bar->Field, QString::fromUtf8(text)); });
    }

    QWidget page;
    TZtHtmlPreview* preview = new TZtHtmlPreview(&page);
    TZtFindBar* bar = new TZtFindBar(preview, &page);
};

TEST_F(FindBarTest, CountsAndStepsThroughTheHits)
{
    Show("<p>Schraube eins</p><p>zwei Schrauben</p><p>drei SCHRAUBE</p>");
    bar->Open();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(Type("schraube"), QStringLiteral("1 of 3"));
    EXPECT_EQ(CountAfter([&] { bar->NextButton->click(); }), QStringLiteral("2 of 3"));
    EXPECT_EQ(CountAfter([&] { QTest::keyClick(bar->Field, Qt::Key_Return); }), QStringLiteral("3 of 3"));
    EXPECT_EQ(CountAfter([&] { QTest::keyClick(bar->Field, Qt::Key_Return, Qt::ShiftModifier); }),
        QStringLiteral("2 of 3"));
    EXPECT_EQ(CountAfter([&] { bar->PreviousButton->click(); }), QStringLiteral("1 of 3"));
    EXPECT_EQ(Type("x"), QStringLiteral("No matches"));
}

TEST_F(FindBarTest, AccentsAndCaseDoNotMatter)
{
    Show("<p>Herrn M\xFCller</p><p>Frau MULLER</p>");
    bar->Open();
    EXPECT_EQ(Type("muller"), QStringLiteral("1 of 2"));
}

TEST_F(FindBarTest, ANewPageIsSearchedAgain)
{
    Show("<p>Angebot</p>");
    bar->Open();
    ASSERT_EQ(Type("angebot"), QStringLiteral("1 of 1"));
    EXPECT_EQ(CountAfter([&] { Show("<p>Angebot</p><p>Angebot</p>"); }), QStringLiteral("1 of 2"));
}

TEST_F(FindBarTest, EscapeClosesTheBarAndKeepsItsText)
{
    Show("<p>Angebot</p>");
    bar->Open();
    ASSERT_EQ(Type("angebot"), QStringLiteral("1 of 1"));
    QTest::keyClick(bar->Field, Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(bar->Hits->text().isEmpty());
    // Opened again, it finds what it found before.
    EXPECT_EQ(CountAfter([&] { bar->Open(); }), QStringLiteral("1 of 1"));
    EXPECT_EQ(bar->Field->selectedText(), QStringLiteral("angebot"));
}

} // namespace
