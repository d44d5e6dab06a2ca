#pragma once
// Runs a program as a process, its output streams caught in files of a test
// folder.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::testing {

struct TProgramRun {
    int Status = -1; // exit status; -1 when it did not exit normally
    std::string Out;
    std::string Err;
};

// `folder` takes the files that catch standard output and error.
TProgramRun RunProgram(
    const std::string& program, const std::vector<std::string>& args, const std::filesystem::path& folder);

// The same as a user without privileges, for whom a file's mode counts: as
// root, `folder` and everything in it are given to the user "nobody" and the
// program runs as that user; nothing when there is no such user.
std::optional<TProgramRun> RunProgramAsOrdinaryUser(
    const std::string& program, const std::vector<std::string>& args, const std::filesystem::path& folder);

} // namespace quorvex::testing
