#include "batch_runner.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <thread>

#include "test_paths.h"

namespace tarvenol::testing {
namespace {

// Starts argv with standard output and error going to out and err.
pid_t Spawn(const std::vector<std::string>& args, int out, int err) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

std::string Contents(int fd) {
  std::string text;
  char buffer[4096];
  for (off_t at = 0;;) {
    const ssize_t got = pread(fd, buffer, sizeof buffer, at);
    if (got <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
    at += got;
  }
}

int Status(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? -WTERMSIG(status) : -1;
}

int MemoryFile(const char* name) {
  const int fd = memfd_create(name, MFD_CLOEXEC);
  if (fd < 0) throw std::runtime_error("memfd_create failed");
  return fd;
}

}  // namespace

BatchRun Batch(const std::string& args, const std::string& before) {
  const int out = MemoryFile("out"), err = MemoryFile("err");
  const pid_t pid = Spawn({"/bin/sh", "-c", before + " \"" + BatchTool() + "\" " + args}, out, err);
  int status = 0;
  waitpid(pid, &status, 0);
  BatchRun run{Status(status), Contents(out), Contents(err)};
  close(out);
  close(err);
  return run;
}

RunningBatch::RunningBatch(const std::vector<std::string>& args)
    : out_(MemoryFile("out")), err_(MemoryFile("err")) {
  std::vector<std::string> command{BatchTool()};
  command.insert(command.end(), args.begin(), args.end());
  pid_ = Spawn(command, out_, err_);
}

RunningBatch::~RunningBatch() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  close(out_);
  close(err_);
}

void RunningBatch::Signal(int signal) const {
  kill(pid_, signal);
}

std::string RunningBatch::ErrSoFar() const {
  return Contents(err_);
}

bool RunningBatch::WaitForErr(const std::string& text, double seconds) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (ErrSoFar().find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

BatchRun RunningBatch::Wait(double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  pid_ = -1;
  return {Status(status), Contents(out_), Contents(err_)};
}

}  // namespace tarvenol::testing
