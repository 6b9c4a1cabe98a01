#include "cli/CommandLine.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
  return CommandLineMain(std::vector<std::string>(argv, argv + argc), std::cout, std::cerr,
                         isatty(STDERR_FILENO) == 1);
}
