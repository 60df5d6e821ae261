// A piece is written whole or not at all: a stopped piece leaves nothing to merge by mistake, and
// is run again from its start.
#include "run/optima_pieces.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <set>

#include "exact/exact_count.h"
#include "exact/order_set.h"
#include "exact/wide_count.h"
#include "run/optima_backbone_lines.h"
#include "support/bounded_file.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

std::string pieceText(int piece, int pieces) {
  return "piece " + std::to_string(piece) + " of " + std::to_string(pieces);
}

// At most a few of many numbers, so that a refusal stays one readable line.
std::string someOf(const std::vector<int>& numbers) {
  constexpr std::size_t kShown = 8;
  std::string text;
  for (std::size_t i = 0; i < numbers.size() && i < kShown; ++i)
    text += (i == 0 ? "" : ", ") + std::to_string(numbers[i]);
  if (numbers.size() > kShown) text += ", ... (" + std::to_string(numbers.size()) + " in all)";
  return text;
}

CountPiece pieceOf(const PieceRequest& request, const ExactCountResult& result) {
  const EnumeratedOptima& summary = *request.summary;
  CountPiece piece;
  piece.instanceSha256 = summary.instanceSha256;
  piece.jobs = summary.jobs;
  piece.machines = summary.machines;
  piece.bound = summary.bound;
  piece.cutAtLeast = cutSizeFor(request.pieces);
  piece.subtrees = static_cast<int>(result.subtreeNodes.size());
  piece.piece = request.piece;
  piece.pieces = request.pieces;
  piece.threads = request.threads;
  for (const auto& [index, count] : result.progress.done) {
    piece.counts.push_back(
        {index, count.decimal(), result.subtreeNodes[static_cast<std::size_t>(index)]});
  }
  if (request.orders) {
    piece.orders.emplace();
    for (const auto& [machine, before, after] :
         ordersSeen(result.seenOrders, summary.jobs, summary.machines))
      piece.orders->push_back({machine + 1, before + 1, after + 1});
  }
  return piece;
}

// Nothing when the piece counts summary's instance and bound with the cut expected.
MaybeFailure pieceMismatch(const NamedPiece& named, const EnumeratedOptima& summary, int atLeast,
                           int subtrees) {
  const CountPiece& piece = named.piece;
  if (piece.instanceSha256 != summary.instanceSha256 || piece.jobs != summary.jobs ||
      piece.machines != summary.machines) {
    return Failure{named.file + " counts another D_Entrada.txt than the folder's"};
  }
  if (piece.bound != summary.bound) {
    return Failure{named.file + " counts makespans <= " + std::to_string(piece.bound) +
                   ", not <= " + std::to_string(summary.bound)};
  }
  if (piece.cutAtLeast != atLeast || piece.subtrees != subtrees) {
    return Failure{named.file + " cuts the tree into " + std::to_string(piece.subtrees) +
                   " subtrees, this program into " + std::to_string(subtrees) +
                   ": count every piece with the same program"};
  }
  return std::nullopt;
}

// Nothing when no subtree is counted by two pieces.
MaybeFailure doubledSubtrees(const std::vector<NamedPiece>& pieces) {
  std::map<int, const std::string*> counter;
  for (const NamedPiece& named : pieces) {
    std::vector<int> doubled;
    const std::string* first = nullptr;
    for (const CountPiece::Subtree& subtree : named.piece.counts) {
      const auto [at, added] = counter.emplace(subtree.index, &named.file);
      if (added) continue;
      doubled.push_back(subtree.index);
      first = at->second;
    }
    if (!doubled.empty()) {
      return Failure{"subtrees " + someOf(doubled) + " are counted twice, in " + *first +
                     " and in " + named.file + ": remove the one that is not the piece its " +
                     "name says"};
    }
  }
  return std::nullopt;
}

// Nothing when every file holds the piece its name says.
MaybeFailure misnamedPiece(const std::vector<NamedPiece>& pieces) {
  for (const NamedPiece& named : pieces) {
    const auto [piece, of] = *countPieceOfFileName(named.file);
    if (named.piece.piece != piece || named.piece.pieces != of) {
      return Failure{named.file + " holds " + pieceText(named.piece.piece, named.piece.pieces) +
                     ", not the piece its name says"};
    }
  }
  return std::nullopt;
}

// Nothing when every piece of the N is there.
MaybeFailure missingPieces(const std::vector<NamedPiece>& pieces) {
  const int of = pieces.front().piece.pieces;
  std::set<int> present;
  for (const NamedPiece& named : pieces) present.insert(named.piece.piece);
  std::vector<int> missing;
  for (int k = 1; k <= of; ++k)
    if (!present.contains(k)) missing.push_back(k);
  if (missing.empty()) return std::nullopt;
  const std::string which = missing.size() == 1 ? "piece " + someOf(missing) + " of "
                                                : "pieces " + someOf(missing) + " of ";
  return Failure{which + std::to_string(of) + (missing.size() == 1 ? " is" : " are") +
                 " missing: run optima --piece " + std::to_string(missing.front()) + "/" +
                 std::to_string(of) + (missing.size() == 1 ? "" : " (and the others)") +
                 " in the folder, then --merge again"};
}

// Nothing when the pieces count every subtree of the cut.
MaybeFailure uncountedSubtrees(const std::vector<NamedPiece>& pieces, int subtrees) {
  std::vector<bool> counted(static_cast<std::size_t>(subtrees), false);
  for (const NamedPiece& named : pieces)
    for (const CountPiece::Subtree& subtree : named.piece.counts)
      counted[static_cast<std::size_t>(subtree.index)] = true;
  std::vector<int> missing;
  for (int i = 0; i < subtrees; ++i)
    if (!counted[static_cast<std::size_t>(i)]) missing.push_back(i);
  if (missing.empty()) return std::nullopt;
  return Failure{"subtrees " + someOf(missing) + " of the " + std::to_string(subtrees) +
                 " are counted by no piece: run their pieces again"};
}

void setCount(EnumeratedOptima& summary, const std::string& digits) {
  if (digits.size() > 18) {
    summary.count = std::numeric_limits<std::int64_t>::max();
    summary.countDigits = digits;
  } else {
    summary.count = std::stoll(digits);
    summary.countDigits.clear();
  }
}

}  // namespace

PieceOutcome countPiece(const SearchProblem& problem, const PieceRequest& request) {
  PieceOutcome outcome;
  ExactCountRequest count;
  count.bound = request.summary->bound;
  count.piece = {request.piece - 1, request.pieces};
  count.threads = request.threads;
  count.memoryBytes = request.memoryMb << 20;
  count.stop = request.stop;
  count.orders = request.orders;
  ProgressLine progress = terminalProgressLine(false);
  const ExactCountResult result = countExactly(problem, count, progress);
  outcome.nodes = result.nodes;
  outcome.count = result.count.decimal();
  if (result.noTable) {
    outcome.failure = "cannot have the table of known counts (" + std::to_string(request.memoryMb) +
                      " MB): not enough memory; give a smaller --memory";
    return outcome;
  }
  if (!result.complete) {
    outcome.interruption = request.stop.stopSignal();
    return outcome;
  }
  outcome.written = pieceOf(request, result);
  outcome.written.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - request.started).count();
  const std::string path =
      pathInFolder(request.folder, countPieceFileName(request.piece, request.pieces));
  if (const MaybeFailure failure =
          writeTextFile(path, countPieceJson(outcome.written), WriteMode::kReplace)) {
    outcome.failure = "cannot write " + path + " (" + failure->reason + ")";
  }
  return outcome;
}

void printPieceSummary(const PieceRequest& request, const PieceOutcome& outcome, double seconds,
                       std::ostream& out) {
  const std::string file = countPieceFileName(request.piece, request.pieces);
  out << pieceText(request.piece, request.pieces) << "\n";
  if (outcome.interruption != 0 || !outcome.failure.empty()) {
    out << "count " << outcome.count << " (not finished: " << file
        << " not written; run the piece again)\n";
  } else {
    out << "count " << outcome.count << " (this piece's part)\nsubtrees "
        << outcome.written.counts.size() << " of " << outcome.written.subtrees << "\n";
    if (outcome.written.orders) {
      out << "orders " << outcome.written.orders->size()
          << " realised (optima --merge --backbone takes them)\n";
    }
  }
  out << "bound " << request.summary->bound << "\n";
  if (outcome.interruption != 0) {
    out << "stopped by " << (outcome.interruption == SIGINT ? "SIGINT" : "SIGTERM") << "\n";
  } else if (outcome.failure.empty()) {
    out << "written " << file << " (optima --merge adds up the pieces once all are written)\n";
  }
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.3f", seconds);
  out << "nodes " << outcome.nodes << "\nthreads " << request.threads << "\nseconds " << elapsed
      << "\n";
  out.flush();
}

OrFailure<std::vector<NamedPiece>> readPieces(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  const std::string dir = folder.empty() ? "." : folder;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (countPieceOfFileName(name)) names.push_back(name);
  }
  if (error) return Failure{"cannot list the folder " + dir + " (" + error.message() + ")"};
  if (names.empty()) {
    return Failure{"no optima-piece-K-of-N.json in " + dir +
                   " to merge: count the pieces with optima --piece K/N first"};
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return countPieceOfFileName(a) < countPieceOfFileName(b);
  });
  const int of = countPieceOfFileName(names.front())->second;
  for (const std::string& name : names) {
    if (countPieceOfFileName(name)->second != of) {
      return Failure{"the pieces are of different counts: " + names.front() + " is one of " +
                     std::to_string(of) + " pieces, " + name + " one of " +
                     std::to_string(countPieceOfFileName(name)->second) +
                     "; keep the pieces of one count only"};
    }
  }
  std::vector<NamedPiece> pieces;
  for (const std::string& name : names) {
    const std::string path = pathInFolder(folder, name);
    const BoundedRead read = readBoundedFile(path, kMaxRecordFileBytes);
    if (!read.text) return Failure{"cannot read " + path + " (" + read.problem + ")"};
    OrFailure<CountPiece> piece = parseCountPiece(*read.text);
    if (!piece) return Failure{path + ": " + piece.reason()};
    pieces.push_back({name, std::move(piece).value()});
  }
  return pieces;
}

OrFailure<std::vector<int>> piecesToCount(const std::string& folder, const SearchProblem& problem,
                                          const EnumeratedOptima& summary, int pieces,
                                          bool orders) {
  std::error_code error;
  const std::string dir = folder.empty() ? "." : folder;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    const auto numbers = countPieceOfFileName(name);
    if (numbers && numbers->second != pieces) {
      return Failure{dir + " holds " + name + ", a piece of a count in " +
                     std::to_string(numbers->second) + " pieces: give --pieces " +
                     std::to_string(numbers->second) + " to go on with that count, or remove " +
                     "its pieces"};
    }
  }
  if (error) return Failure{"cannot list the folder " + dir + " (" + error.message() + ")"};
  const int subtrees = exactCountSubtrees(problem, summary.bound, pieces);
  std::vector<int> left;
  for (int k = 1; k <= pieces; ++k) {
    const std::string name = countPieceFileName(k, pieces);
    const BoundedRead read = readBoundedFile(pathInFolder(folder, name), kMaxRecordFileBytes);
    OrFailure<CountPiece> piece =
        read.text ? parseCountPiece(*read.text) : OrFailure<CountPiece>(Failure{read.problem});
    // Subtrees k - 1, k - 1 + N, ... of the cut.
    const int own = k - 1 < subtrees ? (subtrees - k) / pieces + 1 : 0;
    const bool counted = piece && piece->piece == k && piece->pieces == pieces &&
                         static_cast<int>(piece->counts.size()) == own &&
                         (!orders || piece->orders) &&
                         !pieceMismatch({name, *piece}, summary, cutSizeFor(pieces), subtrees);
    if (!counted) left.push_back(k);
  }
  return left;
}

MaybeFailure mergePieces(const std::vector<NamedPiece>& pieces, const SearchProblem& problem,
                         EnumeratedOptima& summary) {
  const int of = pieces.front().piece.pieces;
  const int subtrees = exactCountSubtrees(problem, summary.bound, of);
  for (const NamedPiece& named : pieces) {
    if (MaybeFailure mismatch = pieceMismatch(named, summary, cutSizeFor(of), subtrees))
      return mismatch;
  }
  for (MaybeFailure fault : {doubledSubtrees(pieces), misnamedPiece(pieces), missingPieces(pieces),
                             uncountedSubtrees(pieces, subtrees)}) {
    if (fault) return fault;
  }
  // One limb more than any count of the instance: pieces altered by hand cannot wrap the sum
  // around into a count that looks plausible, they are refused instead.
  const int width = countLimbsFor(problem);
  WideCount total(width + 1);
  for (const NamedPiece& named : pieces) {
    for (const CountPiece::Subtree& subtree : named.piece.counts) {
      const std::optional<WideCount> count = parseWideCount(subtree.count, width);
      if (!count) {
        return Failure{named.file + ": the count of subtree " + std::to_string(subtree.index) +
                       " is beyond any this instance has"};
      }
      total.add(*count);
    }
  }
  if (total.limbs.back() != 0) {
    return Failure{
        "the pieces' counts add up to more schedules than this instance can have: a "
        "piece file was changed after its count; count its piece again"};
  }
  setCount(summary, total.decimal());
  summary.complete = true;
  return std::nullopt;
}

OrFailure<OptimaBackbone> mergedBackbone(const std::vector<NamedPiece>& pieces,
                                         const SearchProblem& problem,
                                         const EnumeratedOptima& summary) {
  std::vector<std::uint64_t> seen(static_cast<std::size_t>(orderSetWords(problem)), 0);
  for (const NamedPiece& named : pieces) {
    const CountPiece& piece = named.piece;
    if (!piece.orders) {
      const std::string which = std::to_string(piece.piece) + "/" + std::to_string(piece.pieces);
      return Failure{named.file + " carries no orders for the backbone: count it again with " +
                     "optima --piece " + which + " --backbone"};
    }
    for (const auto& [machine, before, after] : *piece.orders)
      addOrder({machine - 1, before - 1, after - 1}, problem.jobs, seen);
  }
  return backboneFromOrders(seen, summary);
}

}  // namespace jobshop
