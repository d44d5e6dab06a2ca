// Shows a complete HTML document, given as 8-bit bytes, in the browser
// engine people read the saved page with.
#pragma once

#include "ZtPreviewPage.h"

#include <QByteArray>
#include <QUrl>
#include <QWebEngineView>

#include <string_view>

class QWebEngineLoadingInfo;
class QWebEngineProfile;

namespace quorvex {

class TZtPreviewSchemeHandler;

class TZtHtmlPreview : public QWebEngineView {
    Q_OBJECT

public:
    // What the engine needs before the application object is made: the
    // preview's URL scheme and shared OpenGL contexts. Call once, first.
    static void PrepareApplication();

    explicit TZtHtmlPreview(QWidget* parent = nullptr);
    ~TZtHtmlPreview() override;

    // Replaces what is shown; the engine lays the page out and shows it from
    // the top once it has loaded it.
    void ShowHtml(std::string_view html);
    // Shows an empty page.
    void ClearPreview();

    // The bytes of the page now shown or on its way; empty after a clear.
    std::string_view ShownHtml() const { return {FHtml.constData(), static_cast<size_t>(FHtml.size())}; }
    // False from ShowHtml or ClearPreview until the engine has loaded that
    // page; true before the first.
    bool IsLoaded() const { return FLoaded; }
    void SetLinkOpener(TZtPreviewPage::TLinkOpener opener);

signals:
    // The page of the last ShowHtml or ClearPreview has loaded (or failed to).
    void Loaded(bool ok);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void StartEngine();
    void Load(QByteArray html);
    void LoadingChanged(const QWebEngineLoadingInfo& info);
    void ReturnToOwnPage(const QUrl& url);

    QWebEngineProfile* FProfile = nullptr;
    TZtPreviewSchemeHandler* FScheme = nullptr;
    TZtPreviewPage* FPage = nullptr;
    TZtPreviewPage::TLinkOpener FOpenLink;
    QByteArray FHtml;
    QUrl FUrl;
    bool FLoaded = true;
    bool FReturned = false; // the page has been brought back once
};

} // namespace quorvex
