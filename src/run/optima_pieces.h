// The optima command's count in pieces: `--piece K/N` counts one piece of the cut and writes its
// part, `--merge` checks that the folder's pieces make one whole count and adds them up, so that a
// count can run on many machines at once.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "exact/search_problem.h"
#include "results/count_piece.h"
#include "results/optima_file.h"
#include "support/failure.h"
#include "support/stop_condition.h"

namespace jobshop {

struct PieceRequest {
  std::string folder;  // where the piece's file is written
  int piece = 1;       // from 1
  int pieces = 1;
  int threads = 1;
  std::size_t memoryMb = 0;
  StopCondition stop;  // the signal flag: a stopped piece writes nothing
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  const EnumeratedOptima* summary = nullptr;  // instance, digest and bound
  bool orders = false;                        // also write the orders the piece's schedules realise
};

struct PieceOutcome {
  int interruption = 0;  // the signal that stopped the count, 0 when none did
  CountPiece written;    // what the file holds, when it was written
  std::string count;     // the piece's count, its digits
  std::int64_t nodes = 0;
  std::string failure;  // why the piece could not be counted or written
};

// Counts the subtrees of piece K of N and writes them to the folder's optima-piece-K-of-N.json,
// replacing one an earlier run of the same piece left.
PieceOutcome countPiece(const SearchProblem& problem, const PieceRequest& request);

void printPieceSummary(const PieceRequest& request, const PieceOutcome& outcome, double seconds,
                       std::ostream& out);

struct NamedPiece {
  std::string file;  // its name in the folder
  CountPiece piece;
};

// Every optima-piece-K-of-N.json of the folder, read, in the order of K; or why they cannot be
// merged (none, an unreadable or malformed one, pieces of different N).
OrFailure<std::vector<NamedPiece>> readPieces(const std::string& folder);

// Checks that the pieces count summary's instance and bound with the cut this program makes for
// their N, and that every subtree of the cut is counted exactly once; then fills in summary's
// count, complete. Otherwise why not, naming the files or the pieces at fault.
MaybeFailure mergePieces(const std::vector<NamedPiece>& pieces, const SearchProblem& problem,
                         EnumeratedOptima& summary);

// The backbone of the merged count, from the orders every piece realised; or why not, naming a
// piece counted without them. After mergePieces accepted the pieces.
OrFailure<OptimaBackbone> mergedBackbone(const std::vector<NamedPiece>& pieces,
                                         const SearchProblem& problem,
                                         const EnumeratedOptima& summary);

// The pieces of `pieces` still to count in the folder, from 1: those without a file, and those
// whose file does not read or holds another instance, bound or cut, or no orders when `orders`
// (counted again, it is replaced). Refuses a folder that holds pieces of another number of
// pieces, which no merge of these could take.
OrFailure<std::vector<int>> piecesToCount(const std::string& folder, const SearchProblem& problem,
                                          const EnumeratedOptima& summary, int pieces, bool orders);

}  // namespace jobshop
