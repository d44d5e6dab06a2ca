// Serves the preview's page through a scheme of its own.
#include "ZtPreviewScheme.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace quorvex {

namespace {

constexpr char SchemeText[] = "quorvex-preview";

// The preferences text is 8-bit Latin text and the converted body is ASCII:
// a saved page is read the same way by a browser on a Western system.
constexpr char ContentType[] = "text/html;charset=windows-1252";

} // namespace

void RegisterPreviewScheme()
{
    QWebEngineUrlScheme scheme(SchemeText);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Neither local nor secure: a page of this scheme may not read files.
    scheme.setFlags({});
    QWebEngineUrlScheme::registerScheme(scheme);
}

QByteArray TZtPreviewSchemeHandler::SchemeName()
{
    return QByteArray(SchemeText);
}

QUrl TZtPreviewSchemeHandler::Publish(QByteArray html)
{
    FHtml = std::move(html);
    FUrl = QUrl(QStringLiteral("%1:page-%2").arg(QLatin1String(SchemeText)).arg(++FSerial));
    return FUrl;
}

void TZtPreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    if (job->requestUrl() != FUrl) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The buffer shares the bytes and lives as long as the job reads them.
    auto* buffer = new QBuffer(job);
    buffer->setData(FHtml);
    buffer->open(QIODevice::ReadOnly);
    job->reply(ContentType, buffer);
}

} // namespace quorvex
