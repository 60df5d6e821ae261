// The backbone of a count in pieces: each piece hands the orders its schedules realise to the
// merge, which writes the same optima.json as the whole count's --backbone; a piece without its
// orders is refused by name, and a piece counted without --backbone is written as before.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "campaigns/slurm_count_job.h"
#include "input/instance_text.h"
#include "optima_folders.h"
#include "program_runner.h"
#include "results/count_piece.h"
#include "sanitized_build.h"
#include "test_instances.h"
#include "test_seed.h"

namespace jobshop {

namespace {

const char* const kFt06 = "/examples/ft06/D_Entrada.txt";
const char* const kLa02 = "/tests/data/benchmarks/la02.txt";

Captured optima(const std::string& folder, const std::string& arguments) {
  return runProgramIn(folder, "optima " + arguments);
}

std::string boundOption(int bound) { return "--memory 16 --bound " + std::to_string(bound); }

// optima.json of the whole count of the folder's instance within bound with its backbone, made in
// another folder.
std::string wholeBackboneJson(const std::string& folder, int bound) {
  const std::string whole = folderWithText(readFile(folder + "D_Entrada.txt"));
  const Captured counted = optima(whole, boundOption(bound) + " --threads 1 --backbone");
  EXPECT_EQ(counted.status, 0) << counted.err;
  return readFile(whole + "optima.json");
}

// optima.json of the instance's pieces of N within bound, each counted with --backbone, merged.
std::string mergedBackboneJson(const std::string& instanceText, int bound, int pieces) {
  const std::string folder = folderWithText(instanceText);
  for (int k = 1; k <= pieces; ++k) {
    const Captured piece = optima(folder, boundOption(bound) + " --backbone --piece " +
                                              std::to_string(k) + "/" + std::to_string(pieces));
    EXPECT_EQ(piece.status, 0) << piece.out << piece.err;
  }
  const Captured merged = optima(folder, "--merge --backbone");
  EXPECT_EQ(merged.status, 0) << merged.err;
  EXPECT_NE(merged.out.find("\nbackbone "), std::string::npos) << merged.out;
  return readFile(folder + "optima.json");
}

// optima.json of the instance counted by two workers with --backbone.
std::string workersBackboneJson(const std::string& instanceText, int bound) {
  const std::string folder = folderWithText(instanceText);
  const Captured spread = optima(folder, boundOption(bound) + " --backbone --workers 2");
  EXPECT_EQ(spread.status, 0) << spread.err;
  return readFile(folder + "optima.json");
}

// The whole count's optima.json against the merge of 2 and 3 pieces and of two workers.
void expectPiecesMatchTheWholeCount(const std::string& folder, int bound) {
  const std::string whole = wholeBackboneJson(folder, bound);
  ASSERT_NE(whole.find("\"backbone\""), std::string::npos) << whole;
  const std::string text = readFile(folder + "D_Entrada.txt");
  for (int pieces : {2, 3}) {
    SCOPED_TRACE(std::to_string(pieces) + " pieces");
    EXPECT_EQ(mergedBackboneJson(text, bound, pieces), whole);
  }
  SCOPED_TRACE("--workers 2");
  EXPECT_EQ(workersBackboneJson(text, bound), whole);
}

// A random instance of J jobs and M machines, times 1 to 9, each job visiting every machine once.
std::string randomInstanceText(std::mt19937& random, int jobs, int machines) {
  std::vector<int> times;
  std::vector<int> routing;
  std::uniform_int_distribution<int> time(1, 9);
  for (int j = 0; j < jobs; ++j) {
    std::vector<int> route(static_cast<std::size_t>(machines));
    for (int m = 0; m < machines; ++m) route[static_cast<std::size_t>(m)] = m + 1;
    std::shuffle(route.begin(), route.end(), random);
    for (int m = 0; m < machines; ++m) {
      times.push_back(time(random));
      routing.push_back(route[static_cast<std::size_t>(m)]);
    }
  }
  return formatInstanceFile(makeInstance(jobs, machines, times, routing, 1));
}

CountPiece smallPiece() {
  CountPiece piece;
  piece.instanceSha256 = "ab";
  piece.jobs = 3;
  piece.machines = 2;
  piece.bound = 20;
  piece.cutAtLeast = 256;
  piece.subtrees = 4;
  piece.piece = 1;
  piece.pieces = 2;
  piece.counts = {{0, "3", 10}, {2, "0", 4}};
  piece.seconds = 0.5;
  return piece;
}

}  // namespace

TEST(CountPiecesBackbone, MergedPiecesWriteTheWholeCountsBackboneOnFt06AndLa02) {
  SKIP_WHEN_SANITIZED();
  expectPiecesMatchTheWholeCount(folderWith(kFt06), 58);
  expectPiecesMatchTheWholeCount(folderWith(kLa02), 656);
}

TEST(CountPiecesBackbone, MergedPiecesWriteTheWholeCountsBackboneOnARandomInstance) {
  const unsigned seed = testSeed();
  SCOPED_TRACE(replayNote(seed));
  std::mt19937 random(seed);
  const std::string folder = folderWithText(randomInstanceText(random, 5, 4));
  SCOPED_TRACE(readFile(folder + "D_Entrada.txt"));
  const Captured optimum = optima(folder, "--optimum --list optimum.txt");
  ASSERT_EQ(optimum.status, 0) << optimum.err;
  // A few above the optimum, so that the schedules differ in some of their orders.
  const int bound = std::stoi(optimum.out.substr(optimum.out.find("\nbound ") + 7)) + 3;
  expectPiecesMatchTheWholeCount(folder, bound);
}

TEST(CountPiecesBackbone, AMergeForTheBackboneRefusesAPieceWithoutOrdersByName) {
  const std::string folder = folderWith(kFt06);
  ASSERT_EQ(optima(folder, boundOption(56) + " --piece 1/2").status, 0);
  const Captured second = optima(folder, boundOption(56) + " --piece 2/2 --backbone");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_NE(second.out.find("\norders "), std::string::npos) << second.out;
  EXPECT_FALSE(
      nlohmann::json::parse(readFile(folder + "optima-piece-1-of-2.json")).contains("orders"));

  const Captured refused = optima(folder, "--merge --backbone");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "jobshop-niching optima: cannot merge: optima-piece-1-of-2.json carries no orders for "
            "the backbone: count it again with optima --piece 1/2 --backbone\n");
  EXPECT_FALSE(fileExists(folder + "optima.json"));

  // Without --backbone the same pieces merge, the orders of the one that has them unused.
  const Captured merged = optima(folder, "--merge");
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_FALSE(nlohmann::json::parse(readFile(folder + "optima.json")).contains("backbone"));
}

TEST(CountPiecesBackbone, WorkersCountAgainThePiecesWithoutOrders) {
  const std::string folder = folderWith(kFt06);
  ASSERT_EQ(optima(folder, boundOption(57) + " --workers 2 --pieces 3").status, 0);
  const Captured again = optima(folder, boundOption(57) + " --workers 2 --pieces 3 --backbone");
  ASSERT_EQ(again.status, 0) << again.err;
  for (int k = 1; k <= 3; ++k) {
    EXPECT_TRUE(
        nlohmann::json::parse(readFile(folder + countPieceFileName(k, 3))).contains("orders"))
        << k;
  }
  EXPECT_EQ(readFile(folder + "optima.json"), wholeBackboneJson(folder, 57));
}

TEST(CountPiecesBackbone, TheSlurmScriptsPassTheBackboneOn) {
  SlurmCountOptions options;
  options.program = "/bin/prog";
  options.bound = 60;
  options.pieces = 4;
  options.backbone = true;
  options.folder = makeTempFolder();
  const SlurmCountJob job = writeSlurmCountJob({1, 3}, options);
  EXPECT_NE(readFile(job.arrayScript).find("--piece \"$SLURM_ARRAY_TASK_ID\"/4 --backbone\n"),
            std::string::npos)
      << readFile(job.arrayScript);
  EXPECT_NE(readFile(job.mergeScript).find(" --merge --backbone\n"), std::string::npos)
      << readFile(job.mergeScript);
}

TEST(CountPieceFileOrders, APieceWithoutOrdersIsWrittenAsBefore) {
  // The bytes a piece had before it could carry orders.
  EXPECT_EQ(countPieceJson(smallPiece()),
            R"({"instanceSha256":"ab","jobs":3,"machines":2,"bound":20,)"
            R"("cut":{"atLeast":256,"subtrees":4},"piece":1,"pieces":2,)"
            R"("counts":[[0,"3",10],[2,"0",4]],"seconds":0.5,"threads":1})"
            "\n");
  const OrFailure<CountPiece> read = parseCountPiece(countPieceJson(smallPiece()));
  ASSERT_TRUE(read) << read.reason();
  EXPECT_FALSE(read->orders);
}

TEST(CountPieceFileOrders, OrdersReadBackAndMalformedOnesAreRefused) {
  CountPiece piece = smallPiece();
  piece.orders = std::vector<std::array<int, 3>>{{1, 1, 2}, {1, 2, 1}, {2, 3, 1}};
  const std::string text = countPieceJson(piece);
  EXPECT_NE(text.find(R"("threads":1,"orders":[[1,1,2],[1,2,1],[2,3,1]]})"), std::string::npos)
      << text;
  const OrFailure<CountPiece> read = parseCountPiece(text);
  ASSERT_TRUE(read) << read.reason();
  EXPECT_EQ(read->orders, piece.orders);

  piece.orders->clear();  // a piece whose subtrees hold no schedule
  const OrFailure<CountPiece> none = parseCountPiece(countPieceJson(piece));
  ASSERT_TRUE(none && none->orders) << (none ? "no orders" : none.reason());
  EXPECT_TRUE(none->orders->empty());

  const auto refused = [&](const std::string& orders) {
    std::string changed = countPieceJson(smallPiece());
    changed.insert(changed.rfind('}'), ",\"orders\":" + orders);
    const OrFailure<CountPiece> bad = parseCountPiece(changed);
    return bad ? std::string("read") : bad.reason();
  };
  EXPECT_EQ(refused("{}"), "\"orders\" is not a list");
  EXPECT_EQ(refused("[[1,1]]"), "an entry of \"orders\" is not [machine, job before, job after]");
  EXPECT_EQ(refused("[[3,1,2]]"), "the order [3,1,2] is not of two jobs on one machine");
  EXPECT_EQ(refused("[[1,4,2]]"), "the order [1,4,2] is not of two jobs on one machine");
  EXPECT_EQ(refused("[[1,2,2]]"), "the order [1,2,2] is not of two jobs on one machine");
  EXPECT_EQ(refused("[[1,1,2],[1,1,2]]"),
            "the order [1,1,2] is given twice or out of its place (machine, then jobs)");
  EXPECT_EQ(refused("[[2,1,2],[1,1,2]]"),
            "the order [1,1,2] is given twice or out of its place (machine, then jobs)");
}

}  // namespace jobshop
