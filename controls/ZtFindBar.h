// Finds words in the preview: a field, the previous and next hit, the number
// of hits, and a button that closes the bar. The browser engine does the
// finding, so case and accents matter as little as in the browser itself.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;
class QWebEngineFindTextResult;

namespace quorvex {

class TZtHtmlPreview;

class TZtFindBar : public QWidget {
    Q_OBJECT

public:
    explicit TZtFindBar(TZtHtmlPreview* preview, QWidget* parent = nullptr);

    // Shows the bar with its field focused and its text selected, and marks
    // the hits of that text again.
    void Open();
    // Hides the bar, removes the marks and gives the focus back to the page.
    void Close();
    void FindNext();
    void FindPrevious();

    QLineEdit* Field = nullptr;
    QToolButton* PreviousButton = nullptr;
    QToolButton* NextButton = nullptr;
    QToolButton* CloseButton = nullptr;
    QLabel* Hits = nullptr; // "2 of 5", "No matches", or nothing

signals:
    // The engine has counted the hits of the last search.
    void Counted(int activeHit, int hits);

private:
    void Find(bool backward);
    void ShowCount(const QWebEngineFindTextResult& result);
    void FindAgainAfterLoad();

    TZtHtmlPreview* FPreview;
    unsigned FRequest = 0; // the search whose count is shown
};

} // namespace quorvex
