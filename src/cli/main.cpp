#include "cli/CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return CommandLineMain(std::vector<std::string>(argv, argv + argc), std::cout, std::cerr);
}
