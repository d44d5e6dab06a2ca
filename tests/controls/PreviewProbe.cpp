// Waiting on the engine goes by its signals, never by fixed sleeps.
#include "PreviewProbe.h"

#include "ZtHtmlPreview.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEngineScript>

#include <optional>

namespace quorvex::testing {

namespace {

// The engine starts a renderer process for the first page, which takes a
// moment on a loaded machine.
constexpr int PatienceMs = 60000;

} // namespace

bool WaitUntilLoaded(TZtHtmlPreview& preview)
{
    std::optional<bool> ok;
    if (preview.IsLoaded()) return true;
    QEventLoop loop;
    QObject::connect(&preview, &TZtHtmlPreview::Loaded, &loop, [&](bool loaded) {
        ok = loaded;
        loop.quit();
    });
    QTimer::singleShot(PatienceMs, &loop, &QEventLoop::quit);
    loop.exec();
    return ok.value_or(false);
}

QVariant Evaluate(TZtHtmlPreview& preview, const QString& script)
{
    if (!WaitUntilLoaded(preview)) return QVariant();
    std::optional<QVariant> result;
    QEventLoop loop;
    preview.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& value) {
        result = value;
        loop.quit();
    });
    if (!result) {
        QTimer::singleShot(PatienceMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return result.value_or(QVariant());
}

QString PageText(TZtHtmlPreview& preview)
{
    return Evaluate(preview, QStringLiteral("document.body ? document.body.innerText : ''")).toString();
}

} // namespace quorvex::testing
