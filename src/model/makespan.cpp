// The semi-active decoder.
#include "model/makespan.h"

#include <algorithm>

float evaluateMakespan(const float* genes, const Instance& instance, MakespanScratch& scratch) {
  const int jobs = instance.jobs;
  const int machines = instance.machines;
  scratch.opCount.assign(static_cast<size_t>(jobs) + 1, 0);
  scratch.jobReady.assign(static_cast<size_t>(jobs) + 1, 0.0f);
  scratch.machineReady.assign(static_cast<size_t>(machines) + 1, 0.0f);
  scratch.jobEnd.assign(static_cast<size_t>(jobs) + 1, 0.0f);
  const int geneCount = instance.geneCount();
  for (int k = 0; k < geneCount; ++k) {
    const int j = static_cast<int>(genes[k]);
    const int operation = ++scratch.opCount[static_cast<size_t>(j)];
    const int m = instance.machineOf(j, operation);
    const int t = instance.timeOn(j, m);
    float& machineReady = scratch.machineReady[static_cast<size_t>(m)];
    float& jobReady = scratch.jobReady[static_cast<size_t>(j)];
    const float start = machineReady >= jobReady ? machineReady : jobReady;
    const float end = start + static_cast<float>(t);
    machineReady = end;
    jobReady = end;
    if (operation == machines) scratch.jobEnd[static_cast<size_t>(j)] = end;
  }
  float makespan = 0.0f;
  for (int c = 1; c <= jobs; ++c)
    makespan = std::max(makespan, scratch.jobEnd[static_cast<size_t>(c)]);
  return makespan;
}
