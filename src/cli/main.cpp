#include "cli/CommandLine.h"

#include <unistd.h>

// The tool writes through C's streams: C++'s would set up their locales at every start, some
// 50 000 instructions, for a few lines of text.
int main(int argc, char** argv) {
  return CommandLineMain(std::vector<std::string>(argv, argv + argc), stdout, stderr,
                         isatty(STDERR_FILENO) == 1);
}
