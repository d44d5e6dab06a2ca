// Running a program as a process for the tests.

#include "RunProgram.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

#include "TestFiles.h"

extern char** environ;

namespace quorvex::testing {

TProgramRun RunProgram(
    const std::string& program, const std::vector<std::string>& args, const std::filesystem::path& folder)
{
    const std::string outName = (folder / "run-stdout.txt").string();
    const std::string errName = (folder / "run-stderr.txt").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
    int status = 0;
    waitpid(pid, &status, 0);
    TProgramRun run;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadFileBytes(outName);
    run.Err = ReadFileBytes(errName);
    std::filesystem::remove(outName);
    std::filesystem::remove(errName);
    return run;
}

} // namespace quorvex::testing
