// Writing an Instance in the layout its reader reads.
#include "input/instance_text.h"

namespace jobshop {

std::string formatInstanceFile(const Instance& instance) {
  std::string text = std::to_string(instance.jobs) + "\n" + std::to_string(instance.machines) +
                     "\n" + std::to_string(instance.targetMakespan) + "\n";
  auto appendRows = [&](const std::vector<int>& matrix) {
    for (int j = 0; j < instance.jobs; ++j) {
      for (int m = 0; m < instance.machines; ++m) {
        if (m > 0) text += ' ';
        text +=
            std::to_string(matrix[static_cast<size_t>(j) * static_cast<size_t>(instance.machines) +
                                  static_cast<size_t>(m)]);
      }
      text += '\n';
    }
  };
  appendRows(instance.times);
  appendRows(instance.routing);
  return text;
}

}  // namespace jobshop
