// The controls need a QApplication; the tests run without a display. The
// preview's engine is prepared before the application object, as in the
// program.
#include "ZtHtmlPreview.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    quorvex::TZtHtmlPreview::PrepareApplication();
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
