// Writes the sample documents and, beside each, the HTML that the converter
// makes of it with the default preferences text.
// Usage: make_examples FOLDER

#include <cstdio>
#include <exception>
#include <filesystem>

#include "ExampleDocuments.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileInfoFa4.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_examples FOLDER\n");
        return 2;
    }
    using namespace quorvex;
    const std::filesystem::path folder = argv[1];
    try {
        std::filesystem::create_directories(folder);
        for (const auto& example : testing::ExampleDocuments()) {
            const std::string name = (folder / example.Name).string();
            example.Builder.WriteTo(name);
            TZtFileInfoFa4 document;
            document.LoadFromFile(name);
            SaveHtml(name + ".html", DefaultPreferencesText, document);
            std::printf("%s\n", name.c_str());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_examples: %s\n", error.what());
        return 1;
    }
    return 0;
}
