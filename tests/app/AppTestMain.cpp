// The window tests need one application object for the whole run, made
// after the preview's engine is prepared; it runs on the offscreen platform
// unless another one is asked for. Home is a folder of the run's own, so
// that the file dialogs and the engine leave the user's settings alone.

#include "ScriptedPrompter.h"
#include "ZtApplication.h"
#include "ZtHtmlPreview.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <array>

namespace quorvex::testing {

TScriptedPrompter& ApplicationPrompter()
{
    static TScriptedPrompter prompter;
    return prompter;
}

} // namespace quorvex::testing

namespace {

constexpr std::array<const char*, 4> HomeVariables{
    "HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    for (const char* variable : HomeVariables) qputenv(variable, QFile::encodeName(home.path()));
    ::testing::InitGoogleTest(&argc, argv);
    quorvex::TZtApplication::ChooseUtf8WhereNoLocaleIsSet();
    quorvex::TZtHtmlPreview::PrepareApplication();
    quorvex::TZtApplication application(argc, argv, quorvex::testing::ApplicationPrompter());
    return RUN_ALL_TESTS();
}
