// The window tests need one application object for the whole run, made
// after the preview's engine is prepared; it runs on the offscreen platform
// unless another one is asked for.

#include "ScriptedPrompter.h"
#include "ZtApplication.h"
#include "ZtHtmlPreview.h"

#include <gtest/gtest.h>

namespace quorvex::testing {

TScriptedPrompter& ApplicationPrompter()
{
    static TScriptedPrompter prompter;
    return prompter;
}

} // namespace quorvex::testing

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    quorvex::TZtHtmlPreview::PrepareApplication();
    quorvex::TZtApplication application(argc, argv, quorvex::testing::ApplicationPrompter());
    return RUN_ALL_TESTS();
}
