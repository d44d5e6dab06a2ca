// The find bar under the preview.
#include "ZtFindBar.h"

#include "ZtHtmlPreview.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QToolButton>
#include <QWebEngineFindTextResult>

namespace quorvex {
namespace {

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

QString CountText(int activeHit, int hits)
{
    if (hits == 0) return QStringLiteral("No matches");
    return QStringLiteral("%1 of %2").arg(activeHit).arg(hits);
}

// Enter finds the next hit and Shift+Enter the one before, as in browsers.
class TFindField : public QLineEdit {
public:
    TFindField(TZtFindBar* bar)
        : QLineEdit(bar)
        , FBar(bar)
    { }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
            return QLineEdit::keyPressEvent(event);
        if (event->modifiers() & Qt::ShiftModifier)
            FBar->FindPrevious();
        else
            FBar->FindNext();
    }

private:
    TZtFindBar* FBar;
};

} // namespace

TZtFindBar::TZtFindBar(TZtHtmlPreview* preview, QWidget* parent)
    : QWidget(parent)
    , FPreview(preview)
{
    setObjectName(QStringLiteral("FindBar"));
    Field = new TFindField(this);
    Field->setObjectName(QStringLiteral("FindField"));
    Field->setPlaceholderText(QStringLiteral("Find in the page"));
    Field->setClearButtonEnabled(true);
    PreviousButton =
        MakeButton(this, "FindPrevious", QStringLiteral("\u25B2"), QStringLiteral("Previous (Shift+Enter)"));
    NextButton = MakeButton(this, "FindNext", QStringLiteral("\u25BC"), QStringLiteral("Next (Enter)"));
    CloseButton = MakeButton(this, "FindClose", QStringLiteral("\u2715"), QStringLiteral("Close (Esc)"));
    Hits = new QLabel(this);
    Hits->setObjectName(QStringLiteral("FindHits"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(Field, 1);
    layout->addWidget(PreviousButton);
    layout->addWidget(NextButton);
    layout->addWidget(Hits);
    layout->addWidget(CloseButton);

    // Typing searches from the top each time, as a browser's find does.
    connect(Field, &QLineEdit::textEdited, this, [this] { FindNext(); });
    connect(PreviousButton, &QToolButton::clicked, this, &TZtFindBar::FindPrevious);
    connect(NextButton, &QToolButton::clicked, this, &TZtFindBar::FindNext);
    connect(CloseButton, &QToolButton::clicked, this, &TZtFindBar::Close);
    connect(FPreview, &TZtHtmlPreview::Loaded, this, &TZtFindBar::FindAgainAfterLoad);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { Close(); });
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    hide();
}

void TZtFindBar::Open()
{
    show();
    Field->setFocus(Qt::ShortcutFocusReason);
    Field->selectAll();
    if (!Field->text().isEmpty()) FindNext();
}

void TZtFindBar::Close()
{
    hide();
    ++FRequest;
    Hits->clear();
    FPreview->findText(QString());
    FPreview->setFocus(Qt::OtherFocusReason);
}

void TZtFindBar::FindNext()
{
    Find(false);
}

void TZtFindBar::FindPrevious()
{
    Find(true);
}

void TZtFindBar::Find(bool backward)
{
    const QString text = Field->text();
    if (text.isEmpty()) {
        ++FRequest;
        Hits->clear();
        FPreview->findText(QString());
        emit Counted(0, 0);
        return;
    }
    QWebEnginePage::FindFlags flags;
    if (backward) flags |= QWebEnginePage::FindBackward;
    // The count arrives later, maybe after the window has gone. Typing
    // starts a search per key; the engine drops the earlier ones and answers
    // them with no hits, which would hide the count of the last.
    const unsigned request = ++FRequest;
    FPreview->findText(
        text, flags, [bar = QPointer<TZtFindBar>(this), request](const QWebEngineFindTextResult& result) {
            if (bar && bar->FRequest == request) bar->ShowCount(result);
        });
}

void TZtFindBar::ShowCount(const QWebEngineFindTextResult& result)
{
    Hits->setText(CountText(result.activeMatch(), result.numberOfMatches()));
    emit Counted(result.activeMatch(), result.numberOfMatches());
}

// A new page has no marks: those of the open bar are made again.
void TZtFindBar::FindAgainAfterLoad()
{
    if (isVisible() && !Field->text().isEmpty()) FindNext();
}

} // namespace quorvex
