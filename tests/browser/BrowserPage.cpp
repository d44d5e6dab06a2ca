// Loading a page from disk and reading it through the engine's JavaScript.

#include "BrowserPage.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QUrl>
#include <QVariant>

#include <stdexcept>

namespace quorvex::testing {
namespace {

// Generous: the first page also starts the engine's processes.
constexpr int TimeoutMs = 60000;

constexpr const char* ReadScript = R"(JSON.stringify({
    text: document.body.innerText,
    sizes: Array.from(document.querySelectorAll('font[class^="font"]'))
        .map(e => [e.className, getComputedStyle(e).fontSize])
}))";

// Runs the event loop until `done` is set or the timeout passes.
void WaitFor(const bool& done, const char* what)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(TimeoutMs);
    while (!done && timer.isActive()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    if (!done) throw std::runtime_error(std::string("browser engine timed out: ") + what);
}

} // namespace

TBrowserPage::TBrowserPage()
{
    FView.resize(1000, 800);
}

TPageReading TBrowserPage::Read(const QString& fileName)
{
    bool loaded = false;
    bool ok = false;
    const auto connection = QObject::connect(&FView, &QWebEngineView::loadFinished, [&](bool success) {
        loaded = true;
        ok = success;
    });
    FView.load(QUrl::fromLocalFile(fileName));
    WaitFor(loaded, "loading the page");
    QObject::disconnect(connection);
    if (!ok) throw std::runtime_error("browser engine could not load " + fileName.toStdString());

    bool answered = false;
    QString json;
    FView.page()->runJavaScript(QString::fromUtf8(ReadScript), [&](const QVariant& result) {
        json = result.toString();
        answered = true;
    });
    WaitFor(answered, "reading the page");

    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8()).object();
    TPageReading reading;
    reading.Text = object.value("text").toString().toStdString();
    for (const QJsonValue& pair : object.value("sizes").toArray()) {
        const QJsonArray classAndSize = pair.toArray();
        reading.FontSizes.emplace_back(
            classAndSize.at(0).toString().toStdString(), classAndSize.at(1).toString().toStdString());
    }
    return reading;
}

} // namespace quorvex::testing
