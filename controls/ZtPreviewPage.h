// The preview's page: it goes only where the preview sends it. A link the
// user clicks opens in the system browser; every other navigation, page
// scripts and file access are refused.
#pragma once

#include <QUrl>
#include <QWebEnginePage>

#include <functional>

namespace quorvex {

class TZtPreviewPage : public QWebEnginePage {
    Q_OBJECT

public:
    using TLinkOpener = std::function<void(const QUrl&)>;

    TZtPreviewPage(QWebEngineProfile* profile, QObject* parent);

    // The one address the page may load next.
    void Expect(const QUrl& url) { FExpected = url; }
    // Where clicked links go; the system browser unless one is given.
    void SetLinkOpener(TLinkOpener opener) { FOpenLink = std::move(opener); }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    void OpenLink(const QUrl& url) const;

    QUrl FExpected;
    TLinkOpener FOpenLink;
};

} // namespace quorvex
