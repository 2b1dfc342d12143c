#pragma once
// Runs the built lumivar-batch as a user does from a shell: its own process,
// with the words given, standard output and error captured, and optionally
// a tighter address-space or file-size limit, standard output sent elsewhere
// or closed, or a Ctrl-C (or another signal) once standard error says
// something.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_files.h"

namespace lumivar::testing {

struct ToolRun {
  int status = -1;  // exit status; 128 + n when signal n ended it
  std::string out;
  std::string err;
};

struct ToolOptions {
  std::optional<rlim_t> address_space;  // RLIMIT_AS of the tool's process
  // Once standard error holds this text, send `signal` (SIGINT: as Ctrl-C does).
  std::optional<std::string> interrupt_when;
  int signal = SIGINT;
  // Standard output goes to this file (e.g. /dev/full) instead of being
  // captured; "-" closes it, as ">&-" does in a shell.
  std::optional<std::string> stdout_to;
  // RLIMIT_FSIZE of the tool's process: a write past it fails as on a full
  // disk (EFBIG), without the signal that would end the process.
  std::optional<rlim_t> file_size;
  // The tool's working folder; none: the test's.
  std::optional<std::string> folder;
};

// The words of `command` on the example study's three files, then `more`.
inline std::vector<std::string> example_words(const std::string& command,
                                              const std::vector<std::string>& more = {}) {
  const std::string ex = LUMIVAR_EXAMPLES;
  std::vector<std::string> words = {command, "--data", ex + "/landmarks.txt", "--reps", ex + "/reps.txt",
                                    "--groups", ex + "/groups.txt"};
  words.insert(words.end(), more.begin(), more.end());
  return words;
}

inline std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline ToolRun run_tool(const std::vector<std::string>& words, const ToolOptions& options = {}) {
  const TempFolder folder;
  const std::string out = folder.write("out", ""), err = folder.write("err", "");
  std::vector<std::string> argv_text{LUMIVAR_BATCH};
  argv_text.insert(argv_text.end(), words.begin(), words.end());
  std::vector<char*> argv;
  for (std::string& w : argv_text) argv.push_back(w.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    const std::string out_path = options.stdout_to.value_or(out);
    const int o = out_path == "-" ? -1 : open(out_path.c_str(), O_WRONLY | O_TRUNC);
    const int e = open(err.c_str(), O_WRONLY | O_TRUNC);
    if ((o < 0 && out_path != "-") || e < 0 || dup2(e, 2) < 0) _exit(126);
    if (o >= 0 ? dup2(o, 1) < 0 : close(1) != 0) _exit(126);
    if (o > 2) close(o);
    if (e > 2) close(e);
    if (options.address_space) {
      rlimit limit{*options.address_space, *options.address_space};
      if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(126);
    }
    if (options.file_size) {
      rlimit limit{*options.file_size, *options.file_size};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0 || ::signal(SIGXFSZ, SIG_IGN) == SIG_ERR) _exit(126);
    }
    if (options.folder && chdir(options.folder->c_str()) != 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  ToolRun r;
  if (pid < 0) return r;
  if (options.interrupt_when) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (file_text(err).find(*options.interrupt_when) == std::string::npos &&
           std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, options.signal);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  r.out = file_text(out);
  r.err = file_text(err);
  return r;
}

}  // namespace lumivar::testing
