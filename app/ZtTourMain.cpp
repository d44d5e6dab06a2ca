// quorvex-tour: shows the window on one page for a screenshot, and writes
// the window's place on the screen ("WxH+X+Y") to a file once it is drawn.
//
//   quorvex-tour PAGE LIST-WIDTH GEOMETRY-FILE [DOCUMENT]
//
// PAGE is "preferences", "text" or "help"; LIST-WIDTH opens the line list
// that wide. Boxes go to standard error. The tour ends by itself after a
// minute, should nobody end it before.

#include "ZtApplication.h"
#include "ZtFormQuorvexMain.h"
#include "ZtHtmlPreview.h"
#include "ZtProgramStart.h"
#include "ZtPrompter.h"

#include <QFile>
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

void WriteGeometry(const QWidget& window, const char* fileName)
{
    const QRect frame = window.frameGeometry();
    QFile file(QString::fromLocal8Bit(fileName));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QStringLiteral("%1x%2+%3+%4\n")
                       .arg(frame.width())
                       .arg(frame.height())
                       .arg(frame.x())
                       .arg(frame.y())
                       .toLatin1());
    }
}

} // namespace

int main(int argc, char** argv)
{
    using namespace quorvex;

    TZtConsolePrompter prompter;
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

    const char* geometryFile = argv[3];
    QTimer::singleShot(1500, &window, [&window, geometryFile] { WriteGeometry(window, geometryFile); });
    QTimer::singleShot(60000, &application, &QApplication::quit);
    return application.exec();
}
