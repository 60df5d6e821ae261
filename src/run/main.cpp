// Entry point of jobshop-niching.
#include <string>
#include <vector>

#include "run/program.h"

int main(int argc, char** argv) {
  return jobshop::runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
