// Fuzzing a piece of a count: any text is read as a piece or refused with a reason, every subtree
// of a piece read is of its cut and of its piece, every order of it of its instance, and a piece
// read back from its own text is the same.
#include <cstdint>

#include "fuzz_checks.h"
#include "results/count_piece.h"

using namespace jobshop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const OrFailure<CountPiece> read = parseCountPiece(std::string(fuzzText(data, size)));
  if (!read) {
    fuzzCheck(!read.reason().empty(), "a refusal gives its reason");
    return 0;
  }
  fuzzCheck(read->piece >= 1 && read->piece <= read->pieces, "the piece is one of its pieces");
  for (const CountPiece::Subtree& subtree : read->counts) {
    fuzzCheck(subtree.index >= 0 && subtree.index < read->subtrees,
              "every subtree counted is one of the cut");
    fuzzCheck(subtree.index % read->pieces == read->piece - 1, "every subtree is of the piece");
    fuzzCheck(!subtree.count.empty(), "every count has digits");
  }
  if (read->orders) {
    for (const auto& [machine, before, after] : *read->orders) {
      fuzzCheck(machine >= 1 && machine <= read->machines && before >= 1 && before <= read->jobs &&
                    after >= 1 && after <= read->jobs && before != after,
                "every order is of two jobs of the instance on one of its machines");
    }
  }
  const OrFailure<CountPiece> again = parseCountPiece(countPieceJson(*read));
  fuzzCheck(again && again->counts == read->counts && again->bound == read->bound &&
                again->subtrees == read->subtrees && again->piece == read->piece &&
                again->pieces == read->pieces && again->instanceSha256 == read->instanceSha256 &&
                again->orders == read->orders,
            "a piece reads back from its own text");
  return 0;
}
