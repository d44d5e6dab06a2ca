#include "ZtCliOptions.h"

#include <charconv>
#include <filesystem>

namespace quorvex {
namespace {

// More parallel conversions than this only cost memory.
constexpr unsigned MaxJobs = 256;

unsigned ParseJobs(std::string_view text)
{
    unsigned jobs = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, jobs);
    if (error != std::errc() || stop != end || jobs < 1 || jobs > MaxJobs)
        throw EZtUsageError("invalid number of jobs '" + std::string(text) + "'");
    return jobs;
}

bool TakesValue(char option)
{
    return option == 'o' || option == 'd' || option == 'p' || option == 'j';
}

void SetValue(TZtCliOptions& options, char option, const std::string& value)
{
    switch (option) {
    case 'o':
        options.OutputFile = value;
        break;
    case 'd':
        options.OutputDir = value;
        break;
    case 'p':
        options.PreferencesFile = value;
        break;
    case 'j':
        options.Jobs = ParseJobs(value);
        break;
    }
}

void SetLongOption(TZtCliOptions& options, const std::string& arg)
{
    if (arg == "--help")
        options.Help = true;
    else if (arg == "--version")
        options.Version = true;
    else if (arg == "--unicode")
        options.Unicode = true;
    else if (arg == "--classic")
        options.Classic = true;
    else if (arg == "--recursive")
        options.Recursive = true;
    else if (arg == "--update")
        options.Update = true;
    else
        throw EZtUsageError("unknown option '" + arg + "'");
}

void CheckCombination(const TZtCliOptions& options)
{
    if (options.Documents.empty()) throw EZtUsageError("no documents given");
    if (options.OutputFile && options.Documents.size() > 1)
        throw EZtUsageError("-o can only be used with one document");
    if (options.OutputFile && options.OutputDir) throw EZtUsageError("-o and -d cannot be used together");
    if (options.OutputFile && options.Recursive) throw EZtUsageError("-o and -r cannot be used together");
}

} // namespace

TZtCliOptions ParseCommandLine(const std::vector<std::string>& args)
{
    TZtCliOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.Documents.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg[1] == '-') {
            SetLongOption(options, arg);
        } else if (arg == "-r") {
            options.Recursive = true;
        } else if (arg == "-u") {
            options.Update = true;
        } else if (TakesValue(arg[1])) {
            // Both "-o FILE" and "-oFILE", as getopt accepts them.
            if (arg.size() > 2) {
                SetValue(options, arg[1], arg.substr(2));
            } else if (i + 1 < args.size()) {
                SetValue(options, arg[1], args[++i]);
            } else {
                throw EZtUsageError("option " + arg + " needs a value");
            }
        } else {
            throw EZtUsageError("unknown option '" + arg + "'");
        }
    }
    if (!options.Help && !options.Version) CheckCombination(options);
    return options;
}

std::string HtmlFileName(const TZtCliOptions& options, const std::string& document)
{
    if (options.OutputFile) return *options.OutputFile;
    if (options.OutputDir) {
        const std::filesystem::path name = std::filesystem::path(document).filename();
        return (std::filesystem::path(*options.OutputDir) / name).string() + ".html";
    }
    return document + ".html";
}

std::string UsageText()
{
    return "Usage: fa4tohtml [OPTION]... DOCUMENT...\n"
           "       fa4tohtml -r [OPTION]... FOLDER...\n"
           "Converts F&A 4 documents to HTML. Without -o or -d, each DOCUMENT is\n"
           "written to DOCUMENT.html beside it.\n"
           "\n"
           "  -o FILE     write the HTML to FILE (one document only; - is standard output)\n"
           "  -d DIR      write each NAME.html into the folder DIR\n"
           "  -p FILE     use FILE as the HTML head instead of the default preferences\n"
           "  -j N        convert N documents in parallel (default: one per core)\n"
           "  -r, --recursive\n"
           "              convert the F&A 4 documents found in each FOLDER and below it;\n"
           "              with -d the folders are mirrored in DIR, and DIR/index.html\n"
           "              lists every document\n"
           "  -u, --update\n"
           "              skip a document whose HTML is newer than it and than the -p file\n"
           "  --classic   write the classic output byte for byte: a line break inside\n"
           "              words hyphenated at a line's end, the bytes 0x80 to 0xFF that\n"
           "              are not translated as they are, and the classic default head\n"
           "  --unicode   with --classic, still write the bytes 0x80 to 0xFF that are not\n"
           "              translated as numeric character references (always done without)\n"
           "  --help      show this help and exit\n"
           "  --version   show the version and exit\n"
           "\n"
           "Exit status: 0 when every document was converted, 1 when any failed,\n"
           "2 for a usage error.\n";
}

} // namespace quorvex
