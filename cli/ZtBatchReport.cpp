#include "ZtBatchReport.h"

namespace quorvex {
namespace {

// Carriage return, then the terminal's "erase to end of line".
constexpr std::string_view EraseLine = "\r\x1b[K";

void Put(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

} // namespace

std::string ErrorLine(std::string_view name, std::string_view message)
{
    std::string line(ProgramName);
    line += ": ";
    line += name;
    line += ": ";
    line += message;
    line += '\n';
    return line;
}

TZtBatchReport::TZtBatchReport(std::FILE* stream, std::size_t total, bool showProgress)
    : Stream_(stream)
    , Total_(total)
    , ShowProgress_(showProgress && total > ProgressThreshold)
{
    DrawProgress();
}

TZtBatchReport::~TZtBatchReport()
{
    ClearProgress();
}

void TZtBatchReport::Finished(std::string_view name, const TZtOutcome& outcome)
{
    ++Done_;
    if (outcome) {
        ++Failed_;
        ClearProgress();
        Put(Stream_, ErrorLine(name, *outcome));
    }
    DrawProgress();
}

void TZtBatchReport::ClearProgress()
{
    if (!ShowProgress_) return;
    Put(Stream_, EraseLine);
    std::fflush(Stream_);
}

void TZtBatchReport::DrawProgress()
{
    if (!ShowProgress_) return;
    std::string line(EraseLine);
    line += ProgramName;
    line += ": " + std::to_string(Done_) + " of " + std::to_string(Total_) + " documents";
    if (Failed_ > 0) line += ", " + std::to_string(Failed_) + " failed";
    Put(Stream_, line);
    std::fflush(Stream_);
}

} // namespace quorvex
