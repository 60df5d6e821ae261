// Campaigns end to end: the campaign file, the planned folders, running them on this machine with
// the completion-marker rule, and the job array for a cluster.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "analysis/campaign_statistics.h"
#include "campaign_test_support.h"
#include "campaigns/campaign_collect.h"
#include "campaigns/campaign_file.h"
#include "campaigns/campaign_plan.h"
#include "campaigns/campaign_runner.h"
#include "campaigns/execution_state.h"
#include "campaigns/manifest.h"
#include "campaigns/slurm_campaign.h"
#include "input/input_error.h"
#include "report/distinct_schedules_text.h"
#include "report/summary_table.h"
#include "test_instances.h"
#include "wait_until.h"
#include "xml_document.h"

namespace jobshop {

namespace fs = std::filesystem;

TEST(CampaignFile, TheDocumentedExamplePlansItsGrid) {
  const std::string folder = campaignSource(R"(name = "crowding-size"
repetitions = 10            # executions per (instance, setting)
base_seed = 1000
[instances]
ft06 = "instances/small.txt"
la01 = { file = "D_Entrada.txt", target = 666 }
[parameters]
populationSize = [100, 200]
maxEvaluations = 20000
runCount = 1
crowdingGroupSize = [5, 10]
)");
  const CampaignFile file = readCampaignFile(folder + "campaign.toml");
  EXPECT_EQ(file.name, "crowding-size");
  ASSERT_EQ(file.instances.size(), 2u);
  EXPECT_EQ(file.instances[0].name, "ft06") << "file order";
  EXPECT_EQ(file.instances[1].target, 666);
  const std::vector<PlannedExecution> plan = planCampaign(file);
  ASSERT_EQ(plan.size(), 2u * 4u * 10u);
  EXPECT_EQ(plan[0].folder, "ft06/N100-CS5/1");
  EXPECT_EQ(plan[0].seed, 1001u) << "execution k gets base_seed + k";
  EXPECT_EQ(plan[9].seed, 1010u);
  EXPECT_EQ(plan[10].setting, "N100-CS10") << "the last axis varies fastest";
  EXPECT_EQ(plan[20].setting, "N200-CS5");
  EXPECT_EQ(plan[0].target, 9) << "the lower bound when no target is given";
  EXPECT_EQ(plan[40].instance, "la01");
  EXPECT_EQ(plan[40].target, 666);
  // Unset fields are the init defaults.
  EXPECT_EQ(plan[0].parameters.crossoverPercent, 80);
  EXPECT_EQ(plan[0].parameters.crowdingGroups, 4);
  EXPECT_TRUE(plan[0].parameters.segmentFillCrossoverEnabled);
  EXPECT_EQ(plan[0].parameters.maxEvaluations, 20000);
  EXPECT_EQ(plan[0].parameters.runCount, 1);
}

TEST(CampaignFile, EveryRefusalNamesFileAndLine) {
  EXPECT_NE(planningRefusal("name = \n").find("campaign.toml:1: expected valid TOML, found"),
            std::string::npos);
  EXPECT_EQ(planningRefusal("repetitions = 2\n"),
            "campaign.toml:1: expected an [instances] table with at least one instance, found "
            "none");
  EXPECT_EQ(
      planningRefusal("[instances]\na = \"D_Entrada.txt\"\n[parameters]\npopulationSize = \"x\"\n"),
      "campaign.toml:4: expected a whole number for populationSize, found the string \"x\"");
  EXPECT_EQ(
      planningRefusal("[instances]\na = \"D_Entrada.txt\"\n[parameters]\npopulatonSize = 4\n"),
      "campaign.toml:4: expected a field of D_Algoritmo.txt, found \"populatonSize\" (did you "
      "mean populationSize?); the fields are populationSize, maxEvaluations, runCount, "
      "crossoverPercent, mutationPercent, scrambleMutationEnabled, insertionMutationEnabled, "
      "swapMutationEnabled, neighbourSwapMutationEnabled, segmentWrapCrossoverEnabled, "
      "cycleCrossoverEnabled, segmentFillCrossoverEnabled, maskKeepCrossoverEnabled, "
      "maskReorderCrossoverEnabled, segmentInsertCrossoverEnabled, precedenceCrossoverEnabled, "
      "mateCandidates, crowdingGroups, crowdingGroupSize; the niching keys are niching, "
      "windowSize, clearingRadius, clearingCapacity, sharingRadius, sharingAlpha");
  // A flag written as an operator's name, without its "Enabled", begins only its own field.
  EXPECT_EQ(
      planningRefusal("[instances]\na = \"D_Entrada.txt\"\n[parameters]\nswapMutation = 1\n")
          .substr(0, 126),
      "campaign.toml:4: expected a field of D_Algoritmo.txt, found \"swapMutation\" (did you mean "
      "swapMutationEnabled?); the fields are");
  EXPECT_EQ(planningRefusal("nmae = \"x\"\n[instances]\na = \"D_Entrada.txt\"\n"),
            "campaign.toml:1: expected name, repetitions, base_seed, [instances] or [parameters], "
            "found \"nmae\" (did you mean name?)");
  EXPECT_EQ(planningRefusal("[parameters]\nmutationRate = 5\n").find("did you mean"),
            std::string::npos)
      << "no suggestion for a name near none";
  EXPECT_EQ(
      planningRefusal("[instances]\na = \"D_Entrada.txt\"\n[parameters]\nswapMutationEnabled = "
                      "2\n"),
      "campaign.toml:4: expected true, false, 1 or 0 for swapMutationEnabled, found the "
      "integer 2");
  EXPECT_EQ(planningRefusal("[instances]\na = \"D_Entrada.txt\"\n[parameters]\nruncount = 1\n")
                .substr(0, 17),
            "campaign.toml:4: ");
  EXPECT_EQ(planningRefusal("[instances]\na = \"D_Entrada.txt\"\n[parameters]\nrunCount = []\n"),
            "campaign.toml:4: expected at least one value for runCount, found an empty list");
  EXPECT_EQ(planningRefusal("[instances]\n\"../up\" = \"D_Entrada.txt\"\n"),
            "campaign.toml:2: expected an instance name of letters, digits, '-', '_' and '.' "
            "(not first), found \"../up\"");
  EXPECT_EQ(planningRefusal("repetitions = 0\n[instances]\na = \"D_Entrada.txt\"\n"),
            "campaign.toml:1: expected repetitions from 1 to 1000000, found 0");
  EXPECT_EQ(planningRefusal("[instances]\na = { file = \"D_Entrada.txt\", goal = 3 }\n"),
            "campaign.toml:2: expected file or target in the entry of a, found \"goal\"");
  EXPECT_EQ(planningRefusal("[instances]\na = \"missing.txt\"\n").substr(0, 61),
            "campaign.toml:2: expected an instance a that can be read, fou");
  // A combination that could not run is refused when planning, with its setting named.
  const std::string invalid = planningRefusal(
      "[instances]\na = \"D_Entrada.txt\"\n[parameters]\npopulationSize = 100\n"
      "crowdingGroups = [4, 20]\ncrowdingGroupSize = 10\n");
  EXPECT_EQ(invalid.substr(0, 67),
            "campaign.toml:5: expected settings that can run, found setting CG20");
  EXPECT_NE(invalid.find("20 × 10 = 200"), std::string::npos) << invalid;
}

TEST(CampaignPlan, FoldersManifestAndReplanning) {
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  const Captured planned = campaign("plan '" + source + "campaign.toml' --into '" + into + "'");
  ASSERT_EQ(planned.status, 0) << planned.err;
  EXPECT_EQ(planned.out, "planned 8 executions in " + into + " (8 new, 0 kept)\n");
  EXPECT_EQ(readFile(into + "small/N6/2/seed"), "42\n");
  EXPECT_EQ(readFile(into + "given/N8/1/D_Entrada.txt"), kInputInstance);
  EXPECT_EQ(readFile(into + "small/N6/1/D_Entrada.txt"), kInputInstance)
      << "the standard format converted, the target from the campaign";
  EXPECT_NE(readFile(into + "small/N8/1/D_Algoritmo.txt").find("populationSize\n8\n"),
            std::string::npos);
  EXPECT_EQ(readFile(into + "campaign.toml"), kSmallCampaign);
  const std::vector<PlannedExecution> manifest = readManifest(into);
  ASSERT_EQ(manifest.size(), 8u);
  EXPECT_EQ(manifest[3].folder, "small/N8/2");
  EXPECT_EQ(manifest[3].parameters.populationSize, 8);
  EXPECT_EQ(manifest[3].parameters.crowdingGroupSize, 3);
  EXPECT_EQ(manifest[3].target, 10);

  // Planned again: nothing new. A finished execution survives a plan that adds a setting.
  EXPECT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").out,
            "planned 8 executions in " + into + " (0 new, 8 kept)\n");
  writeFile(into + "small/N6/1/done", "exit 0\n");
  writeFile(into + "small/N6/1/D_Sal_Optimos.txt", "10.0\n");
  std::string wider = kSmallCampaign;
  wider.replace(wider.find("[6, 8]"), 6, "[6, 8, 10]");
  writeFile(source + "campaign.toml", wider);
  const Captured added = campaign("plan '" + source + "campaign.toml' --into '" + into + "'");
  EXPECT_EQ(added.out, "planned 12 executions in " + into + " (4 new, 8 kept)\n") << added.err;
  EXPECT_EQ(readFile(into + "small/N6/1/D_Sal_Optimos.txt"), "10.0\n");
  EXPECT_TRUE(fileExists(into + "given/N10/2/seed"));

  // Fewer repetitions: the earlier executions stay listed.
  std::string shorter = wider;
  shorter.replace(shorter.find("repetitions = 2"), 15, "repetitions = 1");
  writeFile(source + "campaign.toml", shorter);
  EXPECT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").out,
            "planned 6 executions in " + into + " (0 new, 6 kept, 6 from earlier plans)\n");
  EXPECT_EQ(readManifest(into).size(), 12u);

  // A started execution whose inputs would change is refused, and nothing is touched.
  std::string changed = wider;
  changed.replace(changed.find("maxEvaluations = 300"), 20, "maxEvaluations = 400");
  writeFile(source + "campaign.toml", changed);
  const std::string before = readFile(into + "manifest.tsv");
  const Captured refused = campaign("plan '" + source + "campaign.toml' --into '" + into + "'");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("small/N6/1 started with other inputs"), std::string::npos)
      << refused.err;
  EXPECT_EQ(readFile(into + "manifest.tsv"), before);
  EXPECT_NE(readFile(into + "small/N8/1/D_Algoritmo.txt").find("300"), std::string::npos);

  // A refused file creates nothing.
  const std::string bad = campaignSource("[instances]\n");
  EXPECT_EQ(campaign("plan '" + bad + "campaign.toml' --into '" + bad + "new'").status, 1);
  EXPECT_FALSE(fs::exists(bad + "new"));
  EXPECT_EQ(campaign("plan").status, 2);
  EXPECT_EQ(campaign("plan a b").status, 2);
  EXPECT_EQ(campaign("fly").status, 2);
}

TEST(CampaignRun, EveryExecutionAsItsOwnSeededRun) {
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);

  // One execution cut off half way (its runner gone), one failed before: both run again from
  // scratch, so no result file holds an execution twice or half.
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  writeFile(into + "small/N6/1/running", std::string(host) + " 999999999\n");
  writeFile(into + "small/N6/1/D_Sal_Mejores.txt", "12.0 0\n");
  writeFile(into + "given/N8/2/failed", "exit 1\n");
  writeFile(into + "given/N8/2/D_Sal_Optimos.txt", "99.0\n");

  const Captured ran = campaign("run '" + into + "' --jobs 2");
  ASSERT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "8 executions run, 0 already done, 0 failed (8 planned)\n");
  for (const PlannedExecution& e : readManifest(into)) {
    SCOPED_TRACE(e.folder);
    const std::string folder = into + e.folder + "/";
    EXPECT_EQ(executionState(folder), ExecutionState::kDone);
    // The same execution run by hand with its seed gives the same files.
    const std::string alone = makeTempFolder();
    fs::copy(folder + "D_Entrada.txt", alone);
    fs::copy(folder + "D_Algoritmo.txt", alone);
    ASSERT_EQ(shell(std::string(JOBSHOP_PROGRAM) + " --dir '" + alone + "' --seed " +
                    std::to_string(e.seed))
                  .status,
              0);
    for (const char* name : {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
                             "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"})
      EXPECT_EQ(readFile(folder + name), readFile(alone + name)) << name;
    const nlohmann::json record = nlohmann::json::parse(readFile(folder + "executions.jsonl"));
    EXPECT_EQ(record["seed"], e.seed);
    EXPECT_EQ(readFile(folder + "stdout.txt"), "2\n3\n");
  }
  EXPECT_EQ(campaign("status '" + into + "'").out,
            "8 done, 0 pending, 0 failed, 0 running (8 planned)\n");
  EXPECT_EQ(campaign("run '" + into + "'").out,
            "0 executions run, 8 already done, 0 failed (8 planned)\n");

  // A failure is listed with its standard error, and the run exits 1; fixed, it runs again.
  const std::string broken = into + "given/N6/1/";
  fs::remove(broken + "done");
  const std::string parameters = readFile(broken + "D_Algoritmo.txt");
  writeFile(broken + "D_Algoritmo.txt", "populationSize\n7\n");
  const Captured failed = campaign("run '" + into + "'");
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "0 executions run, 7 already done, 1 failed (8 planned)\n");
  EXPECT_NE(failed.err.find("given/N6/1 failed:\n  D_Algoritmo.txt, línea"), std::string::npos)
      << failed.err;
  EXPECT_EQ(campaign("status '" + into + "'").out,
            "7 done, 0 pending, 1 failed, 0 running (8 planned)\n");
  writeFile(broken + "D_Algoritmo.txt", parameters);
  EXPECT_EQ(campaign("run '" + into + "'").status, 0);
  EXPECT_EQ(executionState(broken), ExecutionState::kDone);
}

namespace {

// A runner started in a process group of its own, so that a signal can reach it and its children
// together as Ctrl-C does. A test that stops early leaves nothing behind: the group still running
// at the end of the scope is killed and the runner reaped.
struct RunnerGroup {
  pid_t pid = -1;
  explicit RunnerGroup(const std::string& folder) {
    pid = fork();
    if (pid == 0) {
      setpgid(0, 0);
      execl(JOBSHOP_PROGRAM, JOBSHOP_PROGRAM, "campaign", "run", folder.c_str(), "--jobs", "2",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    setpgid(pid, pid);  // also here, so that the group exists before a signal is sent to it
  }
  RunnerGroup(const RunnerGroup&) = delete;
  RunnerGroup& operator=(const RunnerGroup&) = delete;
  ~RunnerGroup() {
    if (pid <= 0) return;
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }

  // The wait status once the runner has ended, nothing if it still runs after 60 seconds.
  std::optional<int> awaitEnd() {
    int status = 0;
    if (!waitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::seconds(60)))
      return std::nullopt;
    pid = -1;
    return status;
  }
};

// Whether done() came to hold within 60 seconds.
template <class Done>
bool within60Seconds(const Done& done) {
  return waitUntil(done, std::chrono::seconds(60));
}

}  // namespace

// SIGTERM to the runner alone, and SIGINT to the runner and its children at once as Ctrl-C sends
// it: either way the campaign is left resumable and the exit status tells the signal, as a shell
// reports a program it ended (128 + its number).
TEST(CampaignRun, AStopSignalLeavesTheRunningExecutionsPending) {
  std::string slow = kSmallCampaign;
  slow.replace(slow.find("maxEvaluations = 300"), 20, "maxEvaluations = 2000000000");
  for (const bool wholeGroup : {false, true}) {
    const int signal = wholeGroup ? SIGINT : SIGTERM;
    SCOPED_TRACE(wholeGroup ? "SIGINT to the process group" : "SIGTERM to the runner");
    const std::string source = campaignSource(slow);
    const std::string into = source + "out/";
    ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
    RunnerGroup runner(into);
    // Both slots have started: their children have shown their seeds, so their own handlers are
    // in place when the signal comes.
    ASSERT_TRUE(within60Seconds([&] {
      return readFile(into + "small/N6/1/stderr.txt").find("semilla") != std::string::npos &&
             readFile(into + "small/N6/2/stderr.txt").find("semilla") != std::string::npos;
    }));
    ASSERT_EQ(kill(wholeGroup ? -runner.pid : runner.pid, signal), 0);
    const std::optional<int> status = runner.awaitEnd();
    ASSERT_TRUE(status) << "the runner did not end within 60 seconds of the signal";
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 128 + signal);
    for (const PlannedExecution& e : readManifest(into)) {
      SCOPED_TRACE(e.folder);
      const std::string folder = into + e.folder + "/";
      EXPECT_EQ(executionState(folder), ExecutionState::kPending);
      EXPECT_FALSE(fileExists(folder + "D_Sal_Mejores.txt"));
    }
    EXPECT_EQ(campaign("status '" + into + "'").out,
              "0 done, 8 pending, 0 failed, 0 running (8 planned)\n");
  }
}

TEST(CampaignSlurm, AJobArrayOverWhatIsPending) {
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
  writeFile(into + "small/N6/1/done", "exit 0\n");
  const Captured written = campaign(
      "slurm '" + into + "' --per-task 3 --max-running 2 --partition debug --time 0:10:00");
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_NE(written.out.find(": 3 array tasks for 7 pending executions"), std::string::npos)
      << written.out;
  EXPECT_TRUE(fs::is_directory(into + "logs")) << "Slurm does not create the log folder";
  const std::string script = readFile(into + "campaign.sbatch");
  for (const char* line :
       {"#SBATCH --array=0-2%2\n", "#SBATCH --cpus-per-task=1\n", "#SBATCH --partition=debug\n",
        "#SBATCH --time=0:10:00\n", "logs/%A_%a.out\n", " campaign run-one '",
        "--task \"$SLURM_ARRAY_TASK_ID\" --tasks '"})
    EXPECT_NE(script.find(line), std::string::npos) << line << "\n" << script;
  const std::string tasks = into + "slurm/tasks-1.tsv";
  EXPECT_EQ(slurmTaskFolders(tasks, 0),
            (std::vector<std::string>{"small/N6/2", "small/N8/1", "small/N8/2"}));
  EXPECT_EQ(slurmTaskFolders(tasks, 2), (std::vector<std::string>{"given/N8/2"}));
  EXPECT_TRUE(slurmTaskFolders(tasks, 3).empty());

  // A task runs its executions with the same marker rule.
  const Captured task = campaign("run-one '" + into + "' --task 2 --tasks '" + tasks + "'");
  EXPECT_EQ(task.status, 0) << task.err;
  EXPECT_EQ(executionState(into + "given/N8/2/"), ExecutionState::kDone);
  EXPECT_EQ(campaign("run-one '" + into + "' --task 9 --tasks '" + tasks + "'").status, 1);
  EXPECT_EQ(campaign("run-one '" + into + "'").status, 2);

  // A resubmission covers only what is still pending, in a list of its own.
  const Captured again = campaign("slurm '" + into + "'");
  EXPECT_NE(again.out.find(": 6 array tasks for 6 pending executions"), std::string::npos);
  EXPECT_TRUE(fileExists(into + "slurm/tasks-2.tsv"));
  EXPECT_EQ(slurmTaskFolders(tasks, 2), (std::vector<std::string>{"given/N8/2"}))
      << "the first array's list stays as it was";
  EXPECT_EQ(campaign("slurm '" + into + "' --per-task 0").status, 2);
}

TEST(CampaignStatistics, SpreadAndWilsonInterval) {
  EXPECT_FALSE(spreadOf({}));
  const Spread one = *spreadOf({55});
  EXPECT_EQ(one.median, 55);
  EXPECT_EQ(one.standardDeviation, 0);
  const Spread four = *spreadOf({58, 55, 57, 56});
  EXPECT_EQ(four.median, 56.5) << "the mean of the two middle values";
  EXPECT_EQ(four.lowest, 55);
  EXPECT_EQ(four.highest, 58);
  EXPECT_EQ(four.lowerQuartile, 55.75);
  EXPECT_EQ(four.mean, 56.5);
  EXPECT_NEAR(four.standardDeviation, 1.2909944, 1e-6);

  const Interval nine = wilsonInterval(9, 10);
  EXPECT_NEAR(nine.low, 0.5958, 1e-4);
  EXPECT_NEAR(nine.high, 0.9821, 1e-4);
  const Interval none = wilsonInterval(0, 10);
  EXPECT_EQ(none.low, 0);
  EXPECT_NEAR(none.high, 0.2775, 1e-4);
  const Interval all = wilsonInterval(10, 10);
  EXPECT_NEAR(all.low, 0.7225, 1e-4);
  EXPECT_DOUBLE_EQ(all.high, 1);
  EXPECT_EQ(wilsonInterval(0, 0).high, 1) << "no runs: nothing is known";
}

TEST(CampaignCollect, SummariesCsvAndPageOfAPartlyFinishedCampaign) {
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
  ASSERT_EQ(campaign("run '" + into + "'").status, 0);
  fs::remove(into + "given/N8/2/done");

  const Captured collected = campaign("collect '" + into + "'");
  ASSERT_EQ(collected.status, 0) << collected.err;
  const CampaignAnalysis collection = collectCampaign(into, readManifest(into));
  // Standard output is the table alone, whole when redirected into a file; the rest is told on
  // standard error.
  EXPECT_EQ(collected.out, summaryTable(collection));
  EXPECT_EQ(collected.err, "1 of 8 executions are not finished and are left out\nwrote " + into +
                               "campaign.html and " + into + "runs.csv\n");
  ASSERT_EQ(collection.settings.size(), 4u);
  const SettingSummary& given = collection.settings[3];
  EXPECT_EQ(given.instance, "given");
  EXPECT_EQ(given.setting, "N8");
  EXPECT_EQ(given.finished, 1);
  EXPECT_EQ(given.planned, 2);
  EXPECT_EQ(given.unfinished, (std::vector<std::string>{"given/N8/2"}));
  EXPECT_EQ(given.runs, 2);

  // The union of every run's optima, counted once however many runs found it.
  for (const SettingSummary& s : collection.settings) {
    SCOPED_TRACE(s.instance + "/" + s.setting);
    std::set<std::string> schedules;
    int perRun = 0;
    for (int k = 1; k <= s.planned; ++k) {
      const std::string folder = into + s.instance + "/" + s.setting + "/" + std::to_string(k);
      if (!fileExists(folder + "/done")) continue;
      std::istringstream lines(readFile(folder + "/D_Sal_Soluciones.txt"));
      for (std::string line; std::getline(lines, line);)
        if (!line.empty()) {
          schedules.insert(line);
          ++perRun;
        }
    }
    EXPECT_EQ(s.distinctSchedules, static_cast<int>(schedules.size()));
    EXPECT_LE(s.distinctSchedules, perRun);
    EXPECT_EQ(s.runsReachingTarget, s.runs) << "the 2 x 3 instance is solved at once";
    ASSERT_TRUE(s.bestMakespans);
    EXPECT_EQ(s.bestMakespans->lowest, 10);
    EXPECT_TRUE(s.medianTargetEvaluations);
  }

  const std::string csv = readFile(into + "runs.csv");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 7 * 2) << "a row per finished run";
  EXPECT_EQ(csv.substr(0, csv.find('\n')),
            "instance,setting,repetition,seed,run,target,bestMakespan,reachedTarget,"
            "distinctOptima,averageDistance,generations,evaluations,targetGeneration,"
            "targetEvaluations,seconds,populationSize,maxEvaluations,runCount,crossoverPercent,"
            "mutationPercent,scrambleMutationEnabled,insertionMutationEnabled,swapMutationEnabled,"
            "neighbourSwapMutationEnabled,segmentWrapCrossoverEnabled,cycleCrossoverEnabled,"
            "segmentFillCrossoverEnabled,maskKeepCrossoverEnabled,maskReorderCrossoverEnabled,"
            "segmentInsertCrossoverEnabled,precedenceCrossoverEnabled,mateCandidates,"
            "crowdingGroups,crowdingGroupSize,niching,windowSize,clearingRadius,"
            "clearingCapacity,sharingRadius,sharingAlpha,held,found,distinct,recall,precision,f1,"
            "foundRecall,retention,dynamicF1");
  EXPECT_NE(csv.find("\nsmall,N6,1,41,1,10,10.0,true,1,,"), std::string::npos) << csv;

  // The page parses as XML, with a table row per setting, one per pair of settings of an
  // instance, and the three charts per instance.
  const std::string page = into + "campaign.html";
  XmlDocument parsed = XmlDocument::fromFile(page);
  EXPECT_TRUE(parsed.wellFormed()) << parsed.errors();
  EXPECT_EQ(parsed.count("//table[@class=\"settings\"]/tr[td]"), 4);
  EXPECT_EQ(parsed.count("//table[@class=\"settings comparisons\"]/tr[td]"), 2);
  EXPECT_EQ(parsed.count("//svg"), 6);
  EXPECT_NE(readFile(page).find("given/N8/2"), std::string::npos) << "says what is missing";

  ASSERT_EQ(campaign("collect '" + into + "' --reports --html '" + source + "c.html' --csv '" +
                     source + "c.csv'")
                .status,
            0);
  EXPECT_TRUE(fileExists(into + "small/N6/1/report.html"));
  EXPECT_TRUE(fileExists(source + "c.csv"));
}

TEST(CampaignCollect, ThePageIsTitledWithTheCampaignsName) {
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
  ASSERT_EQ(campaign("collect '" + into + "'").status, 0);
  EXPECT_NE(readFile(into + "campaign.html").find("<h1>Campaign small</h1>"), std::string::npos)
      << "the name, not the folder's \"out\"";

  // A file without a name named the folder; so does a copy that no longer reads, with a warning
  // that names it, since every result is still there to collect.
  std::string unnamed = kSmallCampaign;
  unnamed.erase(0, unnamed.find('\n') + 1);
  const std::string other = campaignSource(unnamed);
  ASSERT_EQ(campaign("plan '" + other + "campaign.toml' --into '" + other + "trial'").status, 0);
  ASSERT_EQ(campaign("collect '" + other + "trial'").status, 0);
  EXPECT_NE(readFile(other + "trial/campaign.html").find("<h1>Campaign trial</h1>"),
            std::string::npos);
  writeFile(into + "campaign.toml", "name = 3\n");
  const Captured damaged = campaign("collect '" + into + "'");
  EXPECT_EQ(damaged.status, 0) << damaged.err;
  EXPECT_NE(damaged.err.find("warning: " + into + "campaign.toml:1:"), std::string::npos)
      << damaged.err;
  EXPECT_NE(readFile(into + "campaign.html").find("<h1>Campaign out</h1>"), std::string::npos);
}

TEST(CampaignCollect, FoundOfTheOptimalSchedulesThatExist) {
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
  EXPECT_EQ(readFile(into + "small/D_Entrada.txt"), kInputInstance) << "where optima counts";
  ASSERT_EQ(campaign("run '" + into + "'").status, 0);
  const Captured counted =
      shell("cd '" + into + "small' && " + JOBSHOP_PROGRAM + " optima --list optima.txt");
  ASSERT_EQ(counted.out.substr(0, 8), "count 1\n") << counted.out << counted.err;
  const CampaignAnalysis collection = collectCampaign(into, readManifest(into));
  const SettingSummary& small = collection.settings[0];
  EXPECT_EQ(small.enumeratedOptima, 1);
  EXPECT_EQ(small.foundOfEnumerated, 1);
  EXPECT_EQ(distinctSchedulesText(small), "1 of 1");
  EXPECT_EQ(distinctSchedulesText(collection.settings[2]), "1") << "no count for this instance";
  EXPECT_NE(campaign("collect '" + into + "'").out.find("\tN6\t"), std::string::npos);

  // A schedule the runs call optimal that a complete enumeration lacks is a fault.
  writeFile(into + "small/optima.txt", "2 1 2 1 1 2 10 \n");
  const CampaignAnalysis faulty = collectCampaign(into, readManifest(into));
  EXPECT_EQ(distinctSchedulesText(faulty.settings[0]), "0 of 1, 1 not in the enumeration");
  const Captured shown = campaign("collect '" + into + "'");
  EXPECT_EQ(shown.status, 1);
  EXPECT_NE(shown.err.find("small/N6: 1 optimal schedules found by the runs are not among the 1"),
            std::string::npos)
      << shown.err;
}

TEST(CampaignRun, ProgressLineOnlyOnATerminal) {
  if (std::system("command -v script > /dev/null") != 0) GTEST_SKIP() << "script is not installed";
  const std::string source = campaignSource(kSmallCampaign);
  const std::string into = source + "out/";
  ASSERT_EQ(campaign("plan '" + source + "campaign.toml' --into '" + into + "'").status, 0);
  const Captured terminal = shell("script -qec \"" + std::string(JOBSHOP_PROGRAM) +
                                  " campaign run '" + into + "' --jobs 2\" /dev/null");
  const std::size_t drawn = terminal.out.find("\r\033[Kcampaign: 0 of 8 done | 0 failed | 0:0");
  EXPECT_NE(drawn, std::string::npos) << terminal.out;
  EXPECT_NE(terminal.out.find("\r\033[K8 executions run", drawn), std::string::npos)
      << "cleared before the summary: " << terminal.out;
  EXPECT_EQ(campaignProgressText(3, 1, 3, 8, 30.2),
            "campaign: 3 of 8 done | 1 failed | 0:30 | about 0:50 left");
  EXPECT_EQ(campaignProgressText(8, 0, 8, 8, 3600), "campaign: 8 of 8 done | 0 failed | 1:00:00")
      << "no estimate once all are done";
  fs::remove(into + "small/N6/1/done");
  const Captured redirected = campaign("run '" + into + "'");
  EXPECT_EQ(redirected.err, "") << "no progress line when standard error is not a terminal";
}

}  // namespace jobshop
