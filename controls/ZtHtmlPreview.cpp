// The preview on the browser engine: the bytes go in through the preview's
// own scheme, one page at a time, with no way back to an earlier one.
#include "ZtHtmlPreview.h"

#include "ZtPreviewScheme.h"

#include <QCoreApplication>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>

namespace quorvex {

void TZtHtmlPreview::PrepareApplication()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    RegisterPreviewScheme();
}

TZtHtmlPreview::TZtHtmlPreview(QWidget* parent)
    : QWebEngineView(parent)
{
    // Dropped files are the window's to open, not the page's.
    setAcceptDrops(false);
}

TZtHtmlPreview::~TZtHtmlPreview()
{
    if (FPage == nullptr) return;
    // The engine wants a page gone before its profile.
    setPage(nullptr);
    delete FPage;
}

// The engine starts with the first page: a window that only converts a
// batch of documents never needs it.
void TZtHtmlPreview::StartEngine()
{
    if (FPage != nullptr) return;
    // Off the record: nothing of the preview is kept on disk, and it shares
    // no cookies or cache with anything else.
    FProfile = new QWebEngineProfile(this);
    FProfile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    FProfile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    FScheme = new TZtPreviewSchemeHandler(FProfile);
    FProfile->installUrlSchemeHandler(TZtPreviewSchemeHandler::SchemeName(), FScheme);
    FPage = new TZtPreviewPage(FProfile, FProfile);
    FPage->SetLinkOpener(FOpenLink);
    setPage(FPage);
    connect(FPage, &QWebEnginePage::loadingChanged, this, &TZtHtmlPreview::LoadingChanged);
    connect(FPage, &QWebEnginePage::urlChanged, this, &TZtHtmlPreview::ReturnToOwnPage);
}

void TZtHtmlPreview::showEvent(QShowEvent* event)
{
    // Shown, the view would otherwise make a page of the engine's defaults.
    if (FPage == nullptr) ClearPreview();
    QWebEngineView::showEvent(event);
}

void TZtHtmlPreview::ShowHtml(std::string_view html)
{
    FReturned = false;
    Load(QByteArray(html.data(), static_cast<qsizetype>(html.size())));
}

void TZtHtmlPreview::ClearPreview()
{
    FReturned = false;
    Load(QByteArray());
}

void TZtHtmlPreview::SetLinkOpener(TZtPreviewPage::TLinkOpener opener)
{
    FOpenLink = std::move(opener);
    if (FPage != nullptr) FPage->SetLinkOpener(FOpenLink);
}

void TZtHtmlPreview::Load(QByteArray html)
{
    StartEngine();
    FHtml = html;
    FLoaded = false;
    FUrl = FScheme->Publish(std::move(html));
    FPage->Expect(FUrl);
    FPage->load(FUrl);
}

// A link or a refresh to an address the engine opens in place
// (about:blank) leaves the page without asking for a navigation. The page
// comes back once; a page that leaves again at once would do so forever.
void TZtHtmlPreview::ReturnToOwnPage(const QUrl& url)
{
    if (url.scheme().toLatin1() == TZtPreviewSchemeHandler::SchemeName() || FReturned) return;
    FReturned = true;
    Load(FHtml);
}

void TZtHtmlPreview::LoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.url() != FUrl || info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
    // One page at a time, no way back to an earlier one.
    FPage->history()->clear();
    FLoaded = true;
    emit Loaded(info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
}

} // namespace quorvex
