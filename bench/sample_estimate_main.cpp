// One sample estimate of the number of schedules within a bound, without the count after it, for
// bench/estimates-coverage: prints the estimate, its standard error, the interval, the sample and
// the cut, the nodes and the seconds on one line.
//
//   jobshop_sample_estimate FILE BOUND SAMPLE PILOT SEED [THREADS [SECONDS [UNIT_NODES]]]
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "exact/subtree_sample.h"
#include "input/instance_reader.h"

int main(int argc, char** argv) {
  using namespace jobshop;
  if (argc < 6 || argc > 9) {
    std::fprintf(stderr,
                 "usage: %s FILE BOUND SAMPLE PILOT SEED [THREADS [SECONDS [UNIT_NODES]]]\n",
                 argv[0]);
    return 2;
  }
  try {
    const SearchProblem problem = makeSearchProblem(readInstance(argv[1]));
    SubtreeSampleRequest request;
    request.bound = std::stoi(argv[2]);
    request.sample = std::stoi(argv[3]);
    request.pilotNodes = std::stoll(argv[4]);
    request.seed = std::stoull(argv[5]);
    request.threads = argc > 6 ? std::stoi(argv[6]) : 1;
    request.memoryBytes = std::size_t{2048} << 20;
    if (argc > 8) request.unitNodes = std::stoll(argv[8]);
    const auto started = std::chrono::steady_clock::now();
    if (argc > 7) {
      request.stop.deadline =
          started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(std::stod(argv[7])));
    }
    const SubtreeSampleEstimate e = estimateBySubtreeSample(problem, request);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!e.usable) {
      std::printf("stopped in the pilot after %.1f s\n", seconds);
      return 1;
    }
    std::printf(
        "value %.6g se %.6g low %.6g high %.6g thigh %.6g sampled %d unsettled %d settled %d "
        "subtrees %d nodes %lld seconds %.2f descended %d%s\n",
        e.interval.value, e.interval.standardError, e.interval.low, e.interval.high,
        e.interval.tHigh, e.sampled, e.subtrees - e.settled, e.settled, e.subtrees,
        static_cast<long long>(e.nodes), seconds, e.descended, e.stopped ? " stopped" : "");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
