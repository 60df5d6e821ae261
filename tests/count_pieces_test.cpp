// A count cut into pieces that independent workers count, then merged: the same optima.json as the
// whole count, and every way the pieces can fail to make one count refused by name.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "exact/wide_count.h"
#include "input/instance_reader.h"
#include "optima_folders.h"
#include "program_runner.h"
#include "results/count_piece.h"
#include "sanitized_build.h"
#include "test_instances.h"

namespace jobshop {

namespace {

const char* const kFt06 = "/examples/ft06/D_Entrada.txt";
const char* const kLa02 = "/tests/data/benchmarks/la02.txt";
const char* const kLa01 = "/tests/data/benchmarks/la01.txt";

Captured optima(const std::string& folder, const std::string& arguments) {
  return runProgramIn(folder, "optima " + arguments);
}

std::string pieceFile(const std::string& folder, int piece, int pieces) {
  return folder + countPieceFileName(piece, pieces);
}

// Every piece of N counted in folder, one after the other.
void countAllPieces(const std::string& folder, int bound, int pieces) {
  for (int k = 1; k <= pieces; ++k) {
    const Captured piece =
        optima(folder, "--memory 16 --threads 1 --bound " + std::to_string(bound) + " --piece " +
                           std::to_string(k) + "/" + std::to_string(pieces));
    ASSERT_EQ(piece.status, 0) << piece.out << piece.err;
    ASSERT_TRUE(fileExists(pieceFile(folder, k, pieces))) << k << " of " << pieces;
  }
}

// optima.json of the whole count of instance within bound, made by a plain count.
std::string wholeCountJson(const char* instance, int bound) {
  const std::string folder = folderWith(instance);
  const Captured whole = optima(folder, "--memory 16 --threads 2 --bound " + std::to_string(bound));
  EXPECT_EQ(whole.status, 0) << whole.err;
  return readFile(folder + "optima.json");
}

// A folder whose pieces of N of la02 within 656 are all counted.
std::string la02Pieces(int pieces) {
  const std::string folder = folderWith(kLa02);
  countAllPieces(folder, 656, pieces);
  return folder;
}

// A piece without what depends on the machine and the threads: its time, its threads and the
// nodes of each subtree (with two threads sharing the table, they depend on which finished first).
nlohmann::json withoutWork(const std::string& text) {
  nlohmann::json json = nlohmann::json::parse(text);
  json.erase("seconds");
  json.erase("threads");
  for (nlohmann::json& subtree : json["counts"]) subtree.erase(2);
  return json;
}

}  // namespace

TEST(CountPieces, MergedPiecesWriteTheWholeCountsOptimaJson) {
  SKIP_WHEN_SANITIZED();
  // 126,453 schedules of la02 within 656: the listing walk's count (exact_count_test).
  const std::string whole = wholeCountJson(kLa02, 656);
  ASSERT_NE(whole.find("\"exact\": 126453"), std::string::npos) << whole;
  for (int pieces : {1, 2, 3, 7}) {
    SCOPED_TRACE(std::to_string(pieces) + " pieces");
    const std::string folder = la02Pieces(pieces);
    const Captured merged = optima(folder, "--merge");
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out.substr(0, merged.out.find('\n')), "count 126453");
    EXPECT_TRUE(hasLine(merged.out, "exact 126453"));
    EXPECT_TRUE(merged.out.find("\nmerged " + std::to_string(pieces) +
                                (pieces == 1 ? " piece of " : " pieces of ")) != std::string::npos)
        << merged.out;
    // optima.json holds no time or thread field: the merge's is the whole count's, byte for byte.
    EXPECT_EQ(readFile(folder + "optima.json"), whole);
  }
}

TEST(CountPieces, ManyPiecesCutTheTreeFinerAndStillAddUp) {
  SKIP_WHEN_SANITIZED();
  // 33 pieces ask for 8 subtrees each, 264, a finer cut than a whole count's 256.
  const std::string folder = la02Pieces(33);
  const nlohmann::json first = nlohmann::json::parse(readFile(pieceFile(folder, 1, 33)));
  EXPECT_EQ(first["cut"]["atLeast"], 264);
  EXPECT_GE(first["cut"]["subtrees"].get<int>(), 264);
  const Captured merged = optima(folder, "--merge");
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_TRUE(hasLine(merged.out, "exact 126453"));
  EXPECT_EQ(readFile(folder + "optima.json"), wholeCountJson(kLa02, 656));
}

TEST(CountPieces, ATreeTooSmallForTheCutStillAddsUp) {
  // 53 schedules of ft06 within 55: the listing walk's count (exact_search_test). Its tree has no
  // level of 320 nodes within the bound, so the cut is its 53 schedules, one or two per piece.
  const std::string folder = folderWith(kFt06);
  countAllPieces(folder, 55, 40);
  const nlohmann::json first = nlohmann::json::parse(readFile(pieceFile(folder, 1, 40)));
  EXPECT_EQ(first["cut"]["subtrees"], 53);
  const Captured merged = optima(folder, "--merge");
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_TRUE(hasLine(merged.out, "exact 53"));
  EXPECT_EQ(readFile(folder + "optima.json"), wholeCountJson(kFt06, 55));
}

TEST(CountPieces, APieceRunAgainChangesNothing) {
  SKIP_WHEN_SANITIZED();
  const std::string folder = la02Pieces(3);
  const std::string before = readFile(pieceFile(folder, 2, 3));
  const Captured again = optima(folder, "--memory 16 --threads 2 --bound 656 --piece 2/3");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(withoutWork(readFile(pieceFile(folder, 2, 3))), withoutWork(before));
  const Captured merged = optima(folder, "--merge");
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_TRUE(hasLine(merged.out, "exact 126453"));
}

TEST(CountPieces, AStoppedPieceWritesNothingAndIsRunAgainWhole) {
  SKIP_WHEN_SANITIZED();
  // la01 within 666 takes minutes per piece of two: once the piece has used 0.2 s of processor
  // (its handlers are installed long before), it is still counting when SIGTERM comes. The wait
  // is bounded (3,000 looks, 30 s) and the status it ends with is asserted.
  const std::string folder = folderWith(kLa01);
  const Captured stopped = shell(
      "cd '" + folder + "' && " + JOBSHOP_PROGRAM +
      " optima --memory 16 --threads 1 --bound 666 --piece 1/2 > out.txt 2> err.txt & pid=$!; "
      "i=0; while [ \"$(awk '{print $14 + $15}' /proc/$pid/stat)\" -lt 20 ] && [ $i -lt 3000 ]; "
      "do sleep 0.01; i=$((i + 1)); done; kill -TERM $pid; wait $pid; echo \"status $?\"");
  EXPECT_EQ(stopped.out, "status 143\n") << stopped.err;
  const std::string out = readFile(folder + "out.txt");
  EXPECT_TRUE(hasLine(out, "stopped by SIGTERM")) << out;
  EXPECT_FALSE(fileExists(pieceFile(folder, 1, 2)));
  EXPECT_FALSE(fileExists(folder + "optima.json"));
}

TEST(CountPieces, PiecesThatDoNotMakeOneCountAreRefusedByName) {
  SKIP_WHEN_SANITIZED();
  const std::string three = la02Pieces(3);
  const std::string two = la02Pieces(2);
  const auto refusal = [](const std::string& folder) {
    const Captured merged = optima(folder, "--merge");
    EXPECT_EQ(merged.status, 1) << merged.out;
    EXPECT_FALSE(fileExists(folder + "optima.json"));
    return merged.err;
  };
  {
    const std::string folder = folderWith(kLa02);
    for (int k : {1, 3}) writeFile(pieceFile(folder, k, 3), readFile(pieceFile(three, k, 3)));
    EXPECT_NE(refusal(folder).find("piece 2 of 3 is missing: run optima --piece 2/3"),
              std::string::npos);
  }
  {
    const std::string folder = folderWith(kLa02);
    writeFile(pieceFile(folder, 1, 2), readFile(pieceFile(two, 1, 2)));
    writeFile(pieceFile(folder, 2, 2), readFile(pieceFile(two, 1, 2)));
    EXPECT_NE(refusal(folder).find("are counted twice, in optima-piece-1-of-2.json and in "
                                   "optima-piece-2-of-2.json"),
              std::string::npos);
  }
  {
    const std::string folder = folderWith(kLa02);
    for (int k : {1, 2}) writeFile(pieceFile(folder, k, 2), readFile(pieceFile(two, k, 2)));
    writeFile(pieceFile(folder, 3, 3), readFile(pieceFile(three, 3, 3)));
    EXPECT_NE(refusal(folder).find("the pieces are of different counts: optima-piece-1-of-2.json "
                                   "is one of 2 pieces, optima-piece-3-of-3.json one of 3"),
              std::string::npos);
  }
  {
    const std::string folder = folderWith(kLa02);
    writeFile(pieceFile(folder, 1, 2), readFile(pieceFile(two, 1, 2)));
    const Captured other = optima(folder, "--memory 16 --bound 655 --piece 2/2");
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_NE(refusal(folder).find("optima-piece-2-of-2.json counts makespans <= 655, not <= 656"),
              std::string::npos);
  }
  {
    const std::string folder = folderWith(kFt06);
    for (int k : {1, 2}) writeFile(pieceFile(folder, k, 2), readFile(pieceFile(two, k, 2)));
    EXPECT_NE(refusal(folder).find(
                  "optima-piece-1-of-2.json counts another D_Entrada.txt than the folder's"),
              std::string::npos);
  }
  {
    const std::string folder = folderWith(kLa02);
    EXPECT_NE(refusal(folder).find("no optima-piece-K-of-N.json in"), std::string::npos);
  }
  {
    // Each subtree set to the largest count the instance's width holds, so that the sum would
    // wrap around: refused, not written as a small number.
    const std::string folder = folderWith(kLa02);
    for (int k : {1, 2}) {
      nlohmann::json piece = nlohmann::json::parse(readFile(pieceFile(two, k, 2)));
      const int width = countLimbsFor(makeSearchProblem(readInstance(folder + "D_Entrada.txt")));
      WideCount largest(width);
      for (std::uint64_t& limb : largest.limbs) limb = ~std::uint64_t{0};
      for (nlohmann::json& subtree : piece["counts"]) subtree[1] = largest.decimal();
      writeFile(pieceFile(folder, k, 2), piece.dump());
    }
    EXPECT_NE(refusal(folder).find("add up to more schedules than this instance can have"),
              std::string::npos);
  }
}

TEST(CountPieces, PieceOptionsAreCheckedBeforeCounting) {
  const std::string folder = folderWith(kFt06);
  for (const char* arguments :
       {"--piece 0/3", "--piece 4/3", "--piece 3", "--piece 1/5000", "--piece 1/2 --merge",
        "--piece 1/2 --time-limit 5", "--piece 1/2 --list l.txt", "--merge --threads 2",
        "--merge --resume"}) {
    const Captured refused = optima(folder, arguments);
    EXPECT_EQ(refused.status, 2) << arguments;
    EXPECT_NE(refused.err.find("usage: jobshop-niching optima"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(fileExists(folder + "optima.json"));
}

TEST(CountPieceFile, ReadsBackWhatItWritesAndRefusesSubtreesOfAnotherPiece) {
  CountPiece piece;
  piece.instanceSha256 = "ab";
  piece.jobs = 6;
  piece.machines = 6;
  piece.bound = 55;
  piece.cutAtLeast = 256;
  piece.subtrees = 300;
  piece.piece = 2;
  piece.pieces = 3;
  piece.counts = {{1, "12", 40}, {4, "123456789012345678901234567890", 7}};
  const OrFailure<CountPiece> read = parseCountPiece(countPieceJson(piece));
  ASSERT_TRUE(read) << read.reason();
  EXPECT_EQ(read->counts, piece.counts);
  EXPECT_EQ(read->subtrees, 300);

  const std::string text = countPieceJson(piece);
  const auto refused = [&](const std::string& from, const std::string& to) {
    std::string changed = text;
    changed.replace(changed.find(from), from.size(), to);
    const OrFailure<CountPiece> bad = parseCountPiece(changed);
    return bad ? std::string("read") : bad.reason();
  };
  // Subtree 3 has 3 % 3 == 0: piece 1's.
  EXPECT_EQ(refused("[4,", "[3,"), "subtree 3 is not of piece 2 of 3");
  EXPECT_EQ(refused("[4,", "[300,"), "subtree 300 is out of the cut or given twice");
  EXPECT_EQ(refused("[4,", "[1,"), "subtree 1 is out of the cut or given twice");
  EXPECT_EQ(refused("\"12\"", "\"1x\""), "the count of subtree 1 is not a whole number");
  EXPECT_EQ(refused("\"piece\":2", "\"piece\":4"), "piece 4 of 3 is not a piece");
}

TEST(CountPieceFile, NamesOnlyItsOwnFiles) {
  EXPECT_EQ(countPieceFileName(3, 7), "optima-piece-3-of-7.json");
  EXPECT_EQ(countPieceOfFileName("optima-piece-3-of-7.json"), std::make_pair(3, 7));
  for (const char* other :
       {"optima-piece-8-of-7.json", "optima-piece-03-of-7.json", "optima-piece-3-of-7.json.tmp",
        "optima-piece-0-of-7.json", "optima-piece--of-7.json", "optima.json"}) {
    EXPECT_FALSE(countPieceOfFileName(other)) << other;
  }
}

}  // namespace jobshop
