// quorvex-tour: shows the window on one page for a screenshot, and writes
// the window's place on the screen ("WxH+X+Y") and on a second line the
// preview's to a file once the preview has shown its page.
//
//   quorvex-tour PAGE LIST-WIDTH GEOMETRY-FILE [DOCUMENT]
//
// PAGE is "preferences", "text" or "help"; LIST-WIDTH opens the line list
// that wide. Boxes go to standard error. The tour ends by itself after a
// minute, should nobody end it before.

#include "ZtApplication.h"
#include "ZtFileAccess.h"
#include "ZtFormQuorvexMain.h"
#include "ZtHtmlPreview.h"
#include "ZtProgramStart.h"
#include "ZtPrompter.h"

#include <QSplitter>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

QWidget* PageNamed(quorvex::TZtFormQuorvex& window, std::string_view name)
{
    if (name == "preferences") return window.tsHeader;
    if (name == "help") return window.tsInfo;
    return window.tsHtml;
}

QByteArray GeometryLine(const QRect& place)
{
    return QStringLiteral("%1x%2+%3+%4\n")
        .arg(place.width())
        .arg(place.height())
        .arg(place.x())
        .arg(place.y())
        .toLatin1();
}

void WriteGeometry(const quorvex::TZtFormQuorvex& window, const char* fileName)
{
    const QWidget& preview = *window.HtmlPreview;
    const QByteArray lines = GeometryLine(window.frameGeometry()) +
        GeometryLine(QRect(preview.mapToGlobal(QPoint(0, 0)), preview.size()));
    quorvex::WriteWholeFile(
        fileName, std::string_view(lines.constData(), static_cast<std::size_t>(lines.size())));
}

} // namespace

int main(int argc, char** argv)
{
    using namespace quorvex;

    TZtConsolePrompter prompter;
    TZtApplication::ChooseUtf8WhereNoLocaleIsSet();
    TZtHtmlPreview::PrepareApplication();
    TZtApplication application(argc, argv, prompter);
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: quorvex-tour PAGE LIST-WIDTH GEOMETRY-FILE [DOCUMENT]\n");
        return 2;
    }
    TZtFormQuorvex window(prompter);
    const std::vector<std::string> arguments(argv + 4, argv + argc);
    if (const auto exitCode = ActOnArguments(window, prompter, arguments)) return *exitCode;
    window.ShowPage(PageNamed(window, argv[1]));
    const int listWidth = std::atoi(argv[2]);
    window.Splitter1->setSizes({listWidth, window.width() - listWidth});
    window.move(0, 0);
    window.show();

    // The engine draws a loaded page within moments; the second is for a
    // slow virtual screen.
    const char* geometryFile = argv[3];
    const auto writeSoon = [&window, geometryFile] {
        QTimer::singleShot(1000, &window, [&window, geometryFile] { WriteGeometry(window, geometryFile); });
    };
    if (window.HtmlPreview->IsLoaded())
        writeSoon();
    else
        QObject::connect(window.HtmlPreview, &TZtHtmlPreview::Loaded, &window, writeSoon);
    QTimer::singleShot(60000, &application, &QApplication::quit);
    return application.exec();
}
