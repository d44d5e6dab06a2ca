// Running a program as a process for the tests.

#include "RunProgram.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "TestFiles.h"

extern char** environ;

namespace quorvex::testing {
namespace {

std::vector<char*> ArgumentVector(std::vector<std::string>& all)
{
    std::vector<char*> argv;
    for (auto& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
}

TProgramRun Finish(pid_t pid, const std::string& outName, const std::string& errName)
{
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

void GiveTo(const std::filesystem::path& folder, uid_t user, gid_t group)
{
    ::lchown(folder.c_str(), user, group);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        ::lchown(entry.path().c_str(), user, group);
}

} // namespace

std::optional<TProgramRun> RunProgramAsOrdinaryUser(
    const std::string& program, const std::vector<std::string>& args, const std::filesystem::path& folder)
{
    if (::geteuid() != 0) return RunProgram(program, args, folder);
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr) return std::nullopt;
    const uid_t user = nobody->pw_uid;
    const gid_t group = nobody->pw_gid;
    GiveTo(folder, user, group);
    const std::string outName = (folder / "run-stdout.txt").string();
    const std::string errName = (folder / "run-stderr.txt").string();
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv = ArgumentVector(all);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("cannot start " + program);
    if (pid == 0) {
        // Only calls that are safe in the child of a threaded process.
        const int out = ::open(outName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::setgroups(0, nullptr) != 0 ||
            ::setgid(group) != 0 || ::setuid(user) != 0)
            ::_exit(127);
        ::execve(program.c_str(), argv.data(), environ);
        ::_exit(127);
    }
    return Finish(pid, outName, errName);
}

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
    std::vector<char*> argv = ArgumentVector(all);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
    return Finish(pid, outName, errName);
}

} // namespace quorvex::testing
