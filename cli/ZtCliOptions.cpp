// Reading fa4tohtml's command line, its help text, and the names of the
// HTML files.

#include "ZtCliOptions.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "ZtConvertDocument.h"

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

// The long spelling of each option that takes a value.
struct TLongOption {
    std::string_view Name;
    char Short;
};
constexpr TLongOption LongOptionsWithValue[] = {
    {"--output", 'o'},
    {"--output-dir", 'd'},
    {"--preferences", 'p'},
    {"--jobs", 'j'},
};

std::optional<char> ShortOfLong(std::string_view name)
{
    for (const auto& option : LongOptionsWithValue)
        if (option.Name == name) return option.Short;
    return std::nullopt;
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

void SetFlag(TZtCliOptions& options, const std::string& arg)
{
    if (arg == "--help" || arg == "-h")
        options.Help = true;
    else if (arg == "--version" || arg == "-V")
        options.Version = true;
    else if (arg == "--unicode")
        options.Unicode = true;
    else if (arg == "--classic")
        options.Classic = true;
    else if (arg == "--recursive" || arg == "-r")
        options.Recursive = true;
    else if (arg == "--update" || arg == "-u")
        options.Update = true;
    else if (arg == "--info")
        options.Info = true;
    else if (arg == "--text")
        options.Text = true;
    else
        throw EZtUsageError("unknown option '" + arg + "'");
}

// "--output FILE" and "--output=FILE"; returns the index of the last
// argument used.
std::size_t SetLongOption(TZtCliOptions& options, const std::vector<std::string>& args, std::size_t i)
{
    const std::string& arg = args[i];
    const std::size_t equals = arg.find('=');
    const std::optional<char> option = ShortOfLong(std::string_view(arg).substr(0, equals));
    if (!option) {
        SetFlag(options, arg);
    } else if (equals != std::string::npos) {
        SetValue(options, *option, arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
        SetValue(options, *option, args[++i]);
    } else {
        throw EZtUsageError("option " + arg + " needs a value");
    }
    return i;
}

// A cluster of short options as getopt reads them: "-ru", "-rj2", "-rd OUT".
// An option that takes a value takes the rest of the argument, or the next
// argument when nothing follows it; returns the index of the last argument
// used.
std::size_t SetShortOptions(TZtCliOptions& options, const std::vector<std::string>& args, std::size_t i)
{
    const std::string& arg = args[i];
    for (std::size_t k = 1; k < arg.size(); ++k) {
        const char option = arg[k];
        if (!TakesValue(option)) {
            SetFlag(options, std::string{'-', option});
        } else if (k + 1 < arg.size()) {
            SetValue(options, option, arg.substr(k + 1));
            break;
        } else if (i + 1 < args.size()) {
            SetValue(options, option, args[++i]);
        } else {
            throw EZtUsageError(std::string("option -") + option + " needs a value");
        }
    }
    return i;
}

void CheckCombination(const TZtCliOptions& options)
{
    if (options.Documents.empty()) throw EZtUsageError("no documents given");
    if (options.OutputFile && options.Documents.size() > 1)
        throw EZtUsageError("-o can only be used with one document");
    if (options.OutputFile && options.OutputDir) throw EZtUsageError("-o and -d cannot be used together");
    if (options.OutputFile && options.Recursive) throw EZtUsageError("-o and -r cannot be used together");
    // --info writes nothing but its lines on standard output.
    if (options.Info && (options.OutputFile || options.OutputDir))
        throw EZtUsageError("--info writes to standard output only: no -o or -d");
    if (options.Info && options.Text) throw EZtUsageError("--info and --text cannot be used together");
    if (options.Info &&
        std::find(options.Documents.begin(), options.Documents.end(), "-") != options.Documents.end())
        throw EZtUsageError("--info reads named files, not standard input");
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
            i = SetLongOption(options, args, i);
        } else {
            i = SetShortOptions(options, args, i);
        }
    }
    if (!options.Help && !options.Version) CheckCombination(options);
    return options;
}

TZtBatchRequest BatchRequest(const TZtCliOptions& options)
{
    TZtBatchRequest request;
    request.Names = options.Documents;
    request.OutputFile = options.OutputFile;
    request.OutputDir = options.OutputDir;
    request.Recursive = options.Recursive;
    request.Text = options.Text;
    return request;
}

std::string HtmlFileName(const TZtCliOptions& options, const std::string& document)
{
    return HtmlFileName(BatchRequest(options), document);
}

std::string UsageText()
{
    return "Usage: fa4tohtml [OPTION]... DOCUMENT...\n"
           "       fa4tohtml -r [OPTION]... FOLDER...\n"
           "Converts F&A 4 documents to HTML. Without -o or -d, each DOCUMENT is\n"
           "written to DOCUMENT.html beside it. A DOCUMENT named - is read from\n"
           "standard input and its HTML written to standard output.\n"
           "\n"
           "  -o, --output=FILE        write the HTML to FILE (one document only;\n"
           "                           - is standard output)\n"
           "  -d, --output-dir=DIR     write each NAME.html into the folder DIR (made\n"
           "                           when missing)\n"
           "  -p, --preferences=FILE   use FILE (at most 16 MiB) as the HTML head\n"
           "                           instead of the default preferences\n"
           "  -j, --jobs=N             convert N documents in parallel (default: one per\n"
           "                           core)\n"
           "  -r, --recursive          convert the F&A 4 documents found in each FOLDER\n"
           "                           and below it; with -d the folders are mirrored in\n"
           "                           DIR, and DIR/index.html lists every document; a\n"
           "                           folder or file that cannot be read is a failure\n"
           "  -u, --update             skip a document whose HTML is newer than it and\n"
           "                           than the -p file\n"
           "      --info               write nothing; print one JSON object per DOCUMENT\n"
           "                           (with -r per file found) on standard output: name,\n"
           "                           document, size, lines, title, excerpt, modified,\n"
           "                           damaged and damage\n"
           "      --text               write each document's text instead of its HTML:\n"
           "                           UTF-8, the header lines, the body and the footer\n"
           "                           lines as the HTML shows them, hyphenated words\n"
           "                           whole, a table row per line with a tab between\n"
           "                           cells, LF line ends; the names end in .txt\n"
           "                           instead of .html, and -r -d writes no index\n"
           "      --classic            write the classic output byte for byte: lines\n"
           "                           ended by a lone CR, a line break inside words\n"
           "                           hyphenated at a line's end, the bytes that are not\n"
           "                           translated as they are, no doctype, the classic\n"
           "                           default head, and \"Range check error\" for a box\n"
           "                           that cannot be read as a table\n"
           "      --unicode            with --classic, still write the bytes 0x80 to 0xFF\n"
           "                           that are not translated as numeric character\n"
           "                           references (always done without)\n"
           "  -h, --help               show this help and exit\n"
           "  -V, --version            show the version and exit\n"
           "  --                       end of options: every later argument is a\n"
           "                           DOCUMENT or FOLDER\n"
           "\n"
           "No document is ever written over by HTML, the index or the cache: a run\n"
           "whose output would replace a document of the run or a file that looks\n"
           "like an F&A 4 document, or in which two documents would write the same\n"
           "file (also by names that differ only in case, where the folder's file\n"
           "system folds case), is refused before anything is written (exit status 2).\n"
           "Messages quote a file name that holds control characters as ls does.\n"
           "\n"
           "Names you type (-o FILE, DIR, the documents) are followed as by any tool;\n"
           "names the run makes (NAME.html, the files and folders under DIR, the\n"
           "index) never are: a link, FIFO, device, socket or document in their way\n"
           "stays, and that document fails (exit status 1). A killed run can leave\n"
           "NAME.tmp-xxxxxxxx files; the next run into their folder removes them.\n"
           "\n"
           "Exit status: 0 when every document was converted, 1 when any failed,\n"
           "2 for a usage error or a refused run; an interrupted run (SIGINT, SIGTERM,\n"
           "SIGHUP) removes its temporary files and ends by the signal.\n";
}

} // namespace quorvex
