// The optima command's count in pieces on this machine or a Slurm cluster: the pieces still to
// count run as worker processes of this program (`--workers W`) or as the tasks of a job array
// (`--slurm`), each writing its optima-piece-K-of-N.json, and are then merged.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace jobshop {

struct PiecesPlan {
  std::string folder;
  int bound = 0;
  int pieces = 1;
  int threads = 1;                      // per piece
  std::optional<std::size_t> memoryMb;  // per piece; none: each piece's own default
  bool orders = false;                  // each piece writes its orders, for the backbone
};

struct WorkersOutcome {
  int counted = 0;                                  // pieces counted by this call
  std::vector<std::pair<int, std::string>> failed;  // piece, why
  int stopSignal = 0;                               // SIGINT or SIGTERM, when one stopped them
};

// Counts the pieces left (from 1) as child processes of this program, `workers` at a time. A
// piece that fails leaves its standard output and error beside its file to come
// (optima-piece-K-of-N.out and .err); a piece counted whole leaves only its file.
WorkersOutcome countPiecesHere(const std::vector<int>& left, const PiecesPlan& plan, int workers);

struct SlurmSubmission {
  std::string partition;
  std::string timeLimit;
  std::optional<int> maxRunning;
  bool submit = false;
};

// Writes the job array of the pieces left and the merge after it, and submits both when asked;
// the command's exit status, having said what was written and submitted.
int submitPiecesToSlurm(const std::vector<int>& left, const PiecesPlan& plan,
                        const SlurmSubmission& slurm, std::ostream& out, std::ostream& err);

}  // namespace jobshop
