// The semi-active decoder and the per-instance operation table it reads.
#include "model/makespan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace jobshop {

namespace {

bool describes(const MakespanScratch& scratch, const Instance& instance) {
  return scratch.jobs == instance.jobs && scratch.machines == instance.machines &&
         scratch.sourceTimes == instance.times && scratch.sourceRouting == instance.routing;
}

// Looking the machine and the time up once per instance instead of once per gene takes two
// dependent loads and a conversion off every decoding step; the float is the same value the
// decoder would convert each time. A routing value outside 1..M is clamped so that no lookup can
// leave the tables.
void buildOperations(const Instance& instance, MakespanScratch& scratch) {
  const int jobs = std::max(instance.jobs, 0);
  const int machines = std::max(instance.machines, 0);
  const std::size_t geneCount = static_cast<std::size_t>(jobs) * static_cast<std::size_t>(machines);
  scratch.operations.assign(2 * geneCount, DecoderOperation{});
  for (int j = 1; j <= jobs; ++j) {
    for (int o = 1; o <= machines; ++o) {
      const int machine = std::clamp(instance.machineOf(j, o), 1, machines);
      scratch.operations[static_cast<std::size_t>((j - 1) * machines + o - 1)] = {
          machine - 1, static_cast<float>(instance.timeOn(j, machine))};
    }
  }
  scratch.jobState.assign(static_cast<std::size_t>(jobs) + 1, DecoderJob{});
  scratch.jobSlots.assign(geneCount, 0);
  scratch.machineState.assign(static_cast<std::size_t>(machines), DecoderMachine{});
}

}  // namespace

void prepareMakespan(const Instance& instance, MakespanScratch& scratch) {
  if (describes(scratch, instance)) return;
  buildOperations(instance, scratch);
  scratch.jobs = instance.jobs;
  scratch.machines = instance.machines;
  scratch.sourceTimes = instance.times;
  scratch.sourceRouting = instance.routing;
}

namespace {

// The decoding pass itself. With a row it also appends each job to its machine's sequence, which
// costs one store per gene instead of a second pass over the chromosome.
template <class Cell>
float decodeSchedule(const float* genes, MakespanScratch& scratch, Cell* row) {
  const int jobs = std::max(scratch.jobs, 0);
  const int machines = std::max(scratch.machines, 0);
  const DecoderOperation* operations = scratch.operations.data();
  DecoderJob* jobState = scratch.jobState.data();
  DecoderMachine* machineState = scratch.machineState.data();
  for (int j = 1; j <= jobs; ++j) jobState[j] = {(j - 1) * machines, 0.0f};
  for (int m = 0; m < machines; ++m) machineState[m] = {0.0f, m * jobs};

  const int geneCount = jobs * machines;
  // The job slots first, in a loop of its own that the compiler vectorises, which takes the
  // conversion and the clamp off the dependent pass below.
  int* slots = scratch.jobSlots.data();
  for (int k = 0; k < geneCount; ++k) slots[k] = std::clamp(static_cast<int>(genes[k]), 1, jobs);
  for (int k = 0; k < geneCount; ++k) {
    const int j = slots[k];
    DecoderJob& job = jobState[j];
    const DecoderOperation& operation = operations[job.nextOperation++];
    DecoderMachine& machine = machineState[operation.machine];
    // The later of the two ready times. Written job-first so that it compiles to one max
    // instruction: it differs from "machine if machine >= job" only for equal values, which have
    // the same bits since no ready time is ever -0, and for NaN, which finite sums never give.
    const float start = job.ready > machine.ready ? job.ready : machine.ready;
    const float end = start + operation.time;
    machine.ready = end;
    job.ready = end;
    // Only an invalid chromosome or routing can give a machine more than J operations; its cells
    // then run on into the next machines', and the last cell catches the rest.
    if (row != nullptr) row[std::min(machine.cell++, geneCount - 1)] = static_cast<Cell>(j);
  }
  // A valid chromosome ends every job with its M-th operation, so the job's ready time is its
  // completion time.
  float makespan = 0.0f;
  for (int j = 1; j <= jobs; ++j) makespan = std::max(makespan, jobState[j].ready);
  return makespan;
}

}  // namespace

float evaluatePreparedMakespan(const float* genes, MakespanScratch& scratch) {
  return decodeSchedule<std::uint8_t>(genes, scratch, nullptr);
}

float evaluatePreparedMakespan(const float* genes, MakespanScratch& scratch, std::uint8_t* row,
                               int cellBytes) {
  if (cellBytes == 1) return decodeSchedule(genes, scratch, row);
  return decodeSchedule(genes, scratch, reinterpret_cast<std::uint16_t*>(row));
}

}  // namespace jobshop
