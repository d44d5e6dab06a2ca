// Navigation policy and settings of the preview's page.
#include "ZtPreviewPage.h"

#include "ZtPreviewScheme.h"

#include <QAction>
#include <QDesktopServices>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>

#include <array>
#include <string_view>

namespace quorvex {

namespace {

// Links that open outside: a page someone sent must not make a click start
// a local program or open a local file.
constexpr std::array<std::string_view, 4> ExternalSchemes{"http", "https", "mailto", "ftp"};

// What would take the preview away from the page it was given.
constexpr std::array<QWebEnginePage::WebAction, 6> NavigationActions{QWebEnginePage::Back,
    QWebEnginePage::Forward, QWebEnginePage::Reload, QWebEnginePage::ReloadAndBypassCache,
    QWebEnginePage::ViewSource, QWebEnginePage::OpenLinkInThisWindow};

void LockSettings(QWebEngineSettings* settings)
{
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    // The families a browser on Windows starts with; fontconfig finds their
    // nearest installed equivalents, as it does for a browser here.
    settings->setFontFamily(QWebEngineSettings::StandardFont, QStringLiteral("Times New Roman"));
    settings->setFontFamily(QWebEngineSettings::SerifFont, QStringLiteral("Times New Roman"));
    settings->setFontFamily(QWebEngineSettings::FixedFont, QStringLiteral("Courier New"));
}

} // namespace

TZtPreviewPage::TZtPreviewPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    LockSettings(settings());
    for (const WebAction action : NavigationActions) {
        QAction* item = this->action(action);
        item->setVisible(false);
        item->setEnabled(false);
    }
    // A link that asks for a window of its own is a clicked link as well.
    connect(this, &QWebEnginePage::newWindowRequested, this,
        [this](QWebEngineNewWindowRequest& request) { OpenLink(request.requestedUrl()); });
}

bool TZtPreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (type == NavigationTypeLinkClicked) {
        OpenLink(url);
        return false;
    }
    return isMainFrame && type == NavigationTypeTyped && url == FExpected;
}

void TZtPreviewPage::OpenLink(const QUrl& url) const
{
    const QString scheme = url.scheme();
    for (const std::string_view external : ExternalSchemes)
        if (scheme.compare(QLatin1String(external.data(), static_cast<qsizetype>(external.size())),
                Qt::CaseInsensitive) == 0) {
            if (FOpenLink)
                FOpenLink(url);
            else
                QDesktopServices::openUrl(url);
            return;
        }
}

} // namespace quorvex
