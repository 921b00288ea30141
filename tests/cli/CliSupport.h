// Running the tarn command in a temporary directory for the command-line tests.
#pragma once
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "../engine/TestSupport.h"

struct TCommand {
  int Status = -1;
  std::string Out, Err;
};

// Runs a shell command inside the directory; its exit status.
inline int RunIn(const TTempDir& dir, const std::string& command) {
  int raw = std::system(("cd '" + dir.Path() + "' && " + command).c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Runs tarn with the arguments (shell words) inside the directory, standard
// output and error caught in files there.
inline TCommand RunTarn(const TTempDir& dir, const std::string& arguments) {
  TCommand c;
  c.Status = RunIn(dir, "SOURCE_DATE_EPOCH=0 '" TARN_BINARY "' " + arguments + " >stdout.txt 2>stderr.txt </dev/null");
  c.Out = dir.Read("stdout.txt");
  c.Err = dir.Read("stderr.txt");
  return c;
}
