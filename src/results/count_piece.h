// The part of one count that one worker made, "optima-piece-K-of-N.json" beside optima.json: which
// instance and bound it counts, how the tree was cut, which piece of the cut it took and the exact
// count of each of that piece's subtrees. `optima --merge` adds the pieces up into optima.json.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/failure.h"

namespace jobshop {

struct CountPiece {
  std::string instanceSha256;
  int jobs = 0;
  int machines = 0;
  int bound = 0;
  // The cut: the shallowest depth of the tree with at least cutAtLeast nodes within the bound,
  // which gave subtrees subtrees.
  int cutAtLeast = 0;
  int subtrees = 0;
  int piece = 1;  // from 1: the subtrees whose index i has i % pieces == piece - 1
  int pieces = 1;
  // Each of the piece's subtrees: its index in the cut, its count's decimal digits and the nodes
  // its count took (the work it was).
  struct Subtree {
    int index = 0;
    std::string count;
    std::int64_t nodes = 0;
    bool operator==(const Subtree&) const = default;
  };
  std::vector<Subtree> counts;
  double seconds = 0;  // how long the piece's count took
  int threads = 1;
  // With --backbone: every order {machine, job before, job after} (from 1) that a schedule of the
  // piece's subtrees realises, machine by machine, then by the jobs; the merge unions them into
  // the backbone. None in a piece counted without it.
  std::optional<std::vector<std::array<int, 3>>> orders;
};

// "optima-piece-K-of-N.json".
std::string countPieceFileName(int piece, int pieces);

// K and N of a file name countPieceFileName makes, or nothing for any other name.
std::optional<std::pair<int, int>> countPieceOfFileName(const std::string& name);

std::string countPieceJson(const CountPiece& piece);

// Reads a piece, or why the text is not one (a field missing or out of range, a piece beyond its
// number of pieces, a subtree index out of the cut, not of the piece or given twice, a count that
// is not digits, an order not of the instance, given twice or out of its place).
OrFailure<CountPiece> parseCountPiece(const std::string& text);

}  // namespace jobshop
