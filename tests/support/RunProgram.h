// Running a peer program (sox, ImageMagick, ...) from a test or a benchmark.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

// Runs a program found on PATH with its arguments, no shell between, its standard output going to the
// file (/dev/null by default) and its errors nowhere. Answers its exit status, or -1 when it could not run
// or did not exit.
inline int RunProgram(const std::vector<std::string>& command, const char* output = "/dev/null") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// What a shell command line prints on its standard output ("" when it could not run); for peers whose
// arguments are many file names quoted by the caller.
inline std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}
