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
    // Off the record: nothing of the preview is kept on disk, and it shares
    // no cookies or cache with anything else.
    , FProfile(new QWebEngineProfile(this))
    , FScheme(new TZtPreviewSchemeHandler(FProfile))
    , FPage(new TZtPreviewPage(FProfile, FProfile))
{
    FProfile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    FProfile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    FProfile->installUrlSchemeHandler(TZtPreviewSchemeHandler::SchemeName(), FScheme);
    setPage(FPage);
    // Dropped files are the window's to open, not the page's.
    setAcceptDrops(false);
    connect(FPage, &QWebEnginePage::loadingChanged, this, &TZtHtmlPreview::LoadingChanged);
    ClearPreview();
}

TZtHtmlPreview::~TZtHtmlPreview()
{
    // The engine wants a page gone before its profile.
    setPage(nullptr);
    delete FPage;
}

void TZtHtmlPreview::ShowHtml(std::string_view html)
{
    Load(QByteArray(html.data(), static_cast<qsizetype>(html.size())));
}

void TZtHtmlPreview::ClearPreview()
{
    Load(QByteArray());
}

void TZtHtmlPreview::SetLinkOpener(TZtPreviewPage::TLinkOpener opener)
{
    FPage->SetLinkOpener(std::move(opener));
}

void TZtHtmlPreview::Load(QByteArray html)
{
    FHtml = html;
    FLoaded = false;
    FUrl = FScheme->Publish(std::move(html));
    FPage->Expect(FUrl);
    FPage->load(FUrl);
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
