#include "support/program_runner.h"

#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "support/render_harness.h"

extern char** environ;

namespace varnel::testing {
namespace {

std::vector<char*> ArgumentVector(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return argv;
}

int ExitCodeOf(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input) {
  // Files rather than pipes: nothing to pump while the program runs, and no deadlock on large output.
  const TempDir streams;
  std::ofstream(streams.File("in"), std::ios::binary) << input;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, streams.File("in").c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, streams.File("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, streams.File("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv = ArgumentVector(program, arguments);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);

  ProgramResult result;
  if (spawned != 0) return result;
  result.exitCode = ExitCodeOf(pid);
  result.out = ReadText(streams.File("out"));
  result.err = ReadText(streams.File("err"));
  return result;
}

ProgramResult RunProgramOnTerminal(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv = ArgumentVector(program, arguments);
  int terminal = -1;
  const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid < 0) return {};
  if (pid == 0) {
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ProgramResult result;
  char buffer[4096];
  while (true) {
    const ssize_t count = ::read(terminal, buffer, sizeof buffer);
    if (count > 0) {
      result.out.append(buffer, static_cast<std::size_t>(count));
    } else if (count < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // EIO once the program has closed its end
    }
  }
  ::close(terminal);
  result.exitCode = ExitCodeOf(pid);
  return result;
}

}  // namespace varnel::testing
