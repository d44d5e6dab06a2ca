// The preview's own URL scheme: the engine asks it for the page, and it
// answers with the bytes the preview was last given. Any size goes through,
// where a data URL stops at 2 MB.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace quorvex {

// Makes the scheme known to the engine; once, before the application
// object is made.
void RegisterPreviewScheme();

class TZtPreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // A fresh address for `html`: each page has its own, so the engine never
    // serves an older page from its cache or restores its scroll position.
    QUrl Publish(QByteArray html);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

    static QByteArray SchemeName();

private:
    QByteArray FHtml;
    QUrl FUrl;
    quint64 FSerial = 0;
};

} // namespace quorvex
