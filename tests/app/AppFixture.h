// A main window with a scripted prompter and a folder for its files.
#pragma once

#include "Fa4Builder.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "ZtFormQuorvexMain.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::testing {

class WindowTest : public ::testing::Test {
protected:
    // A file name inside the test's own folder.
    std::string Path(const std::string& name) const { return Folder.path().toStdString() + '/' + name; }

    // A document whose body is `body`, after the twelve lines of the header
    // and footer sections.
    std::string WriteDocument(const std::string& name, const std::vector<std::string>& body) const
    {
        const std::string fileName = Path(name);
        TFa4Builder().EmptyParagraphs(12).Lines(body).WriteTo(fileName);
        return fileName;
    }
    std::string WriteGoodDocument(const std::string& name = "good.fa4") const
    {
        return WriteDocument(name, {"Hello world\xFF\x01", "second\xFF\x01"});
    }
    // Loads, but its body fails to convert: boxes in boxes whose HTML
    // doubles with every ring.
    std::string WriteBrokenDocument(const std::string& name = "broken.fa4") const
    {
        return WriteDocument(name, ConcentricBoxes(100));
    }

    QTemporaryDir Folder;
    TScriptedPrompter Prompter;
    TZtFormQuorvex Window{Prompter};
};

} // namespace quorvex::testing
