// Load and paint are both signalled by the engine; no fixed sleeps.
#include "PreviewPainted.h"

#include "ZtHtmlPreview.h"

#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QMultiHash>
#include <QTimer>
#include <QCoreApplication>

#include <optional>

namespace quorvex::bench {

namespace {

constexpr int PatienceMs = 60000;

// Quits its loop at the first paint of the watched surface.
class TPaintWatch : public QObject {
public:
    explicit TPaintWatch(QEventLoop& loop)
        : FLoop(loop)
    { }
    bool Painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest) {
            Painted = true;
            FLoop.quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& FLoop;
};

long VmHwmKb(const QString& statusFile)
{
    QFile file(statusFile);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

} // namespace

bool WaitUntilPainted(TZtHtmlPreview& preview)
{
    if (!preview.IsLoaded()) {
        std::optional<bool> ok;
        QEventLoop loop;
        QObject::connect(&preview, &TZtHtmlPreview::Loaded, &loop, [&](bool loaded) {
            ok = loaded;
            loop.quit();
        });
        QTimer::singleShot(PatienceMs, &loop, &QEventLoop::quit);
        loop.exec();
        if (!ok.value_or(false)) return false;
    }
    QWidget* surface = preview.focusProxy();
    if (surface == nullptr) return false;
    QEventLoop loop;
    TPaintWatch watch(loop);
    surface->installEventFilter(&watch);
    surface->update();
    QTimer::singleShot(PatienceMs, &loop, &QEventLoop::quit);
    loop.exec();
    surface->removeEventFilter(&watch);
    return watch.Painted;
}

long PeakResidentKb()
{
    return VmHwmKb(QStringLiteral("/proc/self/status"));
}

long EnginePeakResidentKb()
{
    // The engine's processes descend from this one, some through a zygote.
    QMultiHash<QByteArray, QByteArray> children;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        // The parent's id is the second field after the name in parentheses.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1) children.insert(fields[1], pid.toLatin1());
    }
    long sum = 0;
    QList<QByteArray> pending = children.values(QByteArray::number(QCoreApplication::applicationPid()));
    while (!pending.isEmpty()) {
        const QByteArray pid = pending.takeLast();
        sum += VmHwmKb(QStringLiteral("/proc/%1/status").arg(QString::fromLatin1(pid)));
        pending += children.values(pid);
    }
    return sum;
}

} // namespace quorvex::bench
