// Every command's outputs against the folder's inputs and records (links, hard links, other
// spellings), the append that ends a cut record, the temporaries a dead writer left, and a write
// past the file-size limit told as such.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "program_runner.h"
#include "results/execution_log.h"
#include "results/execution_record.h"
#include "support/temporary_names.h"
#include "support/text_file_output.h"
#include "test_instances.h"

namespace jobshop {

namespace {

namespace fs = std::filesystem;

const std::string kExamples = std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/";

// A folder with both inputs of ft06, and the bytes they hold.
struct Ft06Folder {
  std::string path = makeTempFolder();
  std::string instance = readFile(kExamples + "D_Entrada.txt");
  std::string parameters = readFile(kExamples + "D_Algoritmo.txt");
  Ft06Folder() {
    // Two short runs: enough for every file to be written.
    replaceValue("maxEvaluations", "400");
    replaceValue("runCount", "2");
    writeFile(path + "D_Entrada.txt", instance);
    writeFile(path + "D_Algoritmo.txt", parameters);
  }
  void replaceValue(const std::string& name, const std::string& value) {
    const std::size_t at = parameters.find(name + "\n") + name.size() + 1;
    parameters.replace(at, parameters.find('\n', at) - at, value);
  }
  void expectInputsUntouched(const std::string& context) const {
    EXPECT_EQ(readFile(path + "D_Entrada.txt"), instance) << context;
    EXPECT_EQ(readFile(path + "D_Algoritmo.txt"), parameters) << context;
  }
};

enum class Link { kSymbolic, kHard };

void link(Link kind, const std::string& target, const std::string& name) {
  if (kind == Link::kSymbolic) {
    fs::create_symlink(fs::path(target).filename(), name);
  } else {
    fs::create_hard_link(target, name);
  }
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(OutputRule, MainRunRefusesResultFilesAndRecordsLinkedToItsInputs) {
  for (const Link kind : {Link::kSymbolic, Link::kHard}) {
    for (const char* output :
         {"D_Sal_Mejores.txt", "D_Sal_Soluciones.txt", "D_Sal_Traza.txt", "executions.jsonl"}) {
      for (const char* input : {"D_Entrada.txt", "D_Algoritmo.txt"}) {
        const Ft06Folder folder;
        link(kind, folder.path + input, folder.path + output);
        const std::string context = std::string(output) + " -> " + input;
        const Captured run = runProgramIn(folder.path, "--seed 1 --quiet");
        EXPECT_EQ(run.status, 1) << context;
        EXPECT_EQ(run.out, "") << context;
        EXPECT_EQ(run.err, "El archivo de salida " + std::string(output) +
                               " es el mismo archivo que " + input +
                               ", que el programa lee; no se ejecuta para no escribir en él "
                               "(quite el enlace)\n")
            << context;
        folder.expectInputsUntouched(context);
      }
    }
  }
}

TEST(OutputRule, MainRunRefusesAResultFileThatIsAnotherRecord) {
  // Two result files that are one file would interleave their records; the optima list under a
  // result file's name would take the runs' records into the list.
  struct Case {
    Link kind;
    const char* output;
    const char* record;
  };
  for (const Case& each : {Case{Link::kHard, "D_Sal_Optimos.txt", "D_Sal_Soluciones.txt"},
                           Case{Link::kSymbolic, "D_Sal_Traza.txt", "list.txt"},
                           Case{Link::kHard, "executions.jsonl", "list.txt"}}) {
    const Ft06Folder folder;
    const std::string optima = "{\"list\": \"list.txt\"}\n";
    writeFile(folder.path + "optima.json", optima);
    writeFile(folder.path + each.record, "kept\n");
    link(each.kind, folder.path + each.record, folder.path + each.output);
    const std::string context = std::string(each.output) + " -> " + each.record;
    const Captured run = runProgramIn(folder.path, "--seed 1 --quiet");
    EXPECT_EQ(run.status, 1) << context;
    EXPECT_EQ(run.out, "") << context;
    EXPECT_EQ(run.err, "El archivo de salida " + std::string(each.output) +
                           " es el mismo archivo que " + each.record +
                           ", otro registro de la carpeta; no se ejecuta para no mezclarlos "
                           "(quite el enlace)\n")
        << context;
    EXPECT_EQ(readFile(folder.path + each.record), "kept\n") << context;
    EXPECT_EQ(readFile(folder.path + "optima.json"), optima) << context;
    folder.expectInputsUntouched(context);
  }
}

TEST(OutputRule, MainRunWritesThroughALinkToAHarmlessPlace) {
  const Ft06Folder folder;
  fs::create_directory(folder.path + "elsewhere");
  fs::create_symlink("elsewhere/trace.txt", folder.path + "D_Sal_Traza.txt");
  const Captured run = runProgramIn(folder.path, "--seed 1 --quiet");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(readFile(folder.path + "elsewhere/trace.txt").empty());
}

TEST(OutputRule, ReportRefusesEveryOutputOnTheParametersOrALinkToThem) {
  for (const char* option : {"--output", "--csv", "--schedules-csv", "--json"}) {
    for (const char* output : {"D_Algoritmo.txt", "link.txt"}) {
      const Ft06Folder folder;
      fs::create_symlink("D_Algoritmo.txt", folder.path + "link.txt");
      const std::string context = std::string(option) + " " + output;
      const Captured report = runProgramIn(folder.path, "report " + context);
      EXPECT_EQ(report.status, 2) << context;
      EXPECT_TRUE(contains(report.err, output)) << context << report.err;
      EXPECT_TRUE(contains(report.err, "D_Algoritmo.txt")) << context << report.err;
      folder.expectInputsUntouched(context);
    }
  }
}

TEST(OutputRule, OptimaRefusesAListOrCheckpointOnTheFolderFiles) {
  for (const char* list : {"D_Sal_Soluciones.txt", "executions.jsonl", "D_Algoritmo.txt"}) {
    const Ft06Folder folder;
    if (!fs::exists(folder.path + list)) writeFile(folder.path + list, "kept\n");
    const std::string kept = readFile(folder.path + list);
    const Captured optima = runProgramIn(folder.path, std::string("optima --list ") + list);
    EXPECT_EQ(optima.status, 2) << list;
    EXPECT_TRUE(contains(optima.err, list)) << list << optima.err;
    EXPECT_EQ(readFile(folder.path + list), kept) << list;
    folder.expectInputsUntouched(list);
  }
  const Ft06Folder folder;
  fs::create_symlink("D_Entrada.txt", folder.path + "optima-checkpoint.json");
  const Captured timed = runProgramIn(folder.path, "optima --time-limit 0.01");
  EXPECT_EQ(timed.status, 2);
  EXPECT_TRUE(contains(timed.err, "optima-checkpoint.json is the same file as D_Entrada.txt"))
      << timed.err;
  folder.expectInputsUntouched("checkpoint");
}

TEST(OutputRule, InitAndImportRefuseTheFolderFilesByLink) {
  const Ft06Folder folder;
  fs::remove(folder.path + "D_Algoritmo.txt");
  writeFile(folder.path + "executions.jsonl", "{}\n");
  fs::create_hard_link(folder.path + "executions.jsonl", folder.path + "D_Algoritmo.txt");
  const Captured init = runProgramIn(folder.path, "init --force");
  EXPECT_EQ(init.status, 2);
  EXPECT_TRUE(contains(init.err, "D_Algoritmo.txt is the same file as executions.jsonl"))
      << init.err;
  EXPECT_EQ(readFile(folder.path + "executions.jsonl"), "{}\n");

  const Ft06Folder target;
  const Captured import =
      runProgramIn(target.path, "import " + kExamples + "D_Entrada.txt --output D_Algoritmo.txt");
  EXPECT_EQ(import.status, 2);
  EXPECT_TRUE(contains(import.err, "D_Algoritmo.txt")) << import.err;
  target.expectInputsUntouched("import");
}

TEST(OutputRule, AnAppendEndsACutRecordAndKeepsTheNewOneReadable) {
  const std::string folder = makeTempFolder();
  const std::string path = folder + kExecutionRecordFileName;
  writeFile(path, "{\"program\":\"jobshop-niching\",\"vers");  // a line cut short
  const Ft06Folder run;
  ASSERT_EQ(runProgramIn(run.path, "--seed 1 --quiet").status, 0);
  const std::string whole = readFile(run.path + kExecutionRecordFileName);
  ASSERT_FALSE(appendExecutionRecord(path, whole));
  EXPECT_EQ(readFile(path), "{\"program\":\"jobshop-niching\",\"vers\n" + whole);
  std::vector<std::string> problems;
  const ExecutionLog log = parseExecutionLog(readFile(path), problems);
  EXPECT_EQ(log.brokenLine, 1);  // the cut one stays flagged
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_TRUE(contains(problems[0], "executions.jsonl:1:")) << problems[0];
  std::vector<std::string> none;
  EXPECT_EQ(parseExecutionLog(whole, none).executions.size(), 1u);  // the new line on its own
  EXPECT_TRUE(none.empty());
  // A file already ending its line gets no extra blank line.
  ASSERT_FALSE(appendExecutionRecord(path, whole));
  EXPECT_EQ(readFile(path), "{\"program\":\"jobshop-niching\",\"vers\n" + whole + whole);
}

TEST(OutputRule, TheRunsRecordedBehindACutRecordAreStillTheirExecutions) {
  const Ft06Folder folder;
  ASSERT_EQ(runProgramIn(folder.path, "--seed 1 --quiet").status, 0);
  // The first record loses its last 20 bytes, line end included, as a full disk would leave it.
  const std::string path = folder.path + kExecutionRecordFileName;
  const std::string first = readFile(path);
  writeFile(path, first.substr(0, first.size() - 20));
  ASSERT_EQ(runProgramIn(folder.path, "--seed 2 --quiet").status, 0);
  const Captured report = runProgramIn(folder.path, "report --json report.json");
  EXPECT_EQ(report.status, 1) << "the cut line is a problem";
  const nlohmann::json json = nlohmann::json::parse(readFile(folder.path + "report.json"));
  ASSERT_EQ(json["runs"].size(), 4u);
  for (int k = 0; k < 2; ++k) EXPECT_TRUE(json["runs"][k]["seed"].is_null()) << "run " << k + 1;
  for (int k = 2; k < 4; ++k) {
    EXPECT_EQ(json["runs"][k]["seed"], 2) << "run " << k + 1;
    EXPECT_EQ(json["runs"][k]["execution"], 1) << "the first readable record";
  }
}

TEST(OutputRule, ANamedPipeNobodyReadsIsNeverWaitedOnAsAnOutput) {
  // Written whole (optima.json) and streamed (the page): each fails at once instead of waiting
  // for a reader. `timeout` ends a wait with status 124, which the checks tell apart.
  const Ft06Folder folder;
  ASSERT_EQ(mkfifo((folder.path + "optima.json").c_str(), 0644), 0);
  const Captured count = runProgramIn(folder.path, "optima --limit 3", "timeout 20 ");
  EXPECT_EQ(count.status, 1) << count.err;
  EXPECT_TRUE(contains(count.err, "cannot write optima.json")) << count.err;
  ASSERT_EQ(runProgramIn(folder.path, "--seed 1 --quiet").status, 0);
  ASSERT_EQ(mkfifo((folder.path + "page.html").c_str(), 0644), 0);
  const Captured report = runProgramIn(folder.path, "report --output page.html", "timeout 20 ");
  EXPECT_EQ(report.status, 1) << report.err;
  EXPECT_TRUE(contains(report.err, "page.html")) << report.err;
  folder.expectInputsUntouched("named pipes as outputs");
}

TEST(OutputRule, ANamedPipeNobodyReadsIsNeverWaitedOnAsAnAppendedRecord) {
  // A result file and the execution record are appended to, not replaced: their opens must not
  // wait for a reader either. `timeout` ends a wait with status 124, which the checks tell apart.
  for (const std::string name : {"D_Sal_Optimos.txt", "D_Sal_Traza.txt", "executions.jsonl"}) {
    const Ft06Folder folder;
    ASSERT_EQ(mkfifo((folder.path + name).c_str(), 0644), 0);
    const Captured run = runProgramIn(folder.path, "--seed 1 --quiet", "timeout 20 ");
    EXPECT_EQ(run.status, 1) << name << ": " << run.err;
    folder.expectInputsUntouched(name + " a named pipe");
  }
}

TEST(OutputRule, StaleTemporariesOfADeadWriterAreRemovedOnTheNextWrite) {
  const std::string folder = makeTempFolder();
  // A child that has ended and been waited for: its PID is free.
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  const std::string dead = folder + temporaryName("optima.json", child, 0);
  const std::string live = folder + temporaryName("report.html", 1, 0);  // init never ends
  const std::string fresh = folder + temporaryName("runs.csv", child, 3);
  const std::string unlike = folder + ".optima.json.tmp.x" + std::to_string(child) + ".0";
  for (const std::string& file : {dead, live, fresh, unlike}) writeFile(file, "partial");
  const auto old = fs::file_time_type::clock::now() - kStaleTemporaryAge - std::chrono::minutes(1);
  for (const std::string& file : {dead, live, unlike}) fs::last_write_time(file, old);
  ASSERT_FALSE(writeTextFile(folder + "other.txt", "text\n", WriteMode::kReplace));
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(fresh));  // maybe another host's writer: left for later
  EXPECT_TRUE(fs::exists(unlike));
}

TEST(OutputRule, TemporaryNamesAreParsedOnlyInTheirExactShape) {
  EXPECT_EQ(temporaryOwner(".optima.json.tmp.123.0"), 123);
  EXPECT_EQ(temporaryOwner(".a.tmp.9.tmp.45.12"), 45);
  for (const char* name : {"optima.json.tmp.123.0", "..tmp.1.0", ".a.tmp.1.", ".a.tmp..0",
                           ".a.tmp.-1.0", ".a.tmp.1x.0", ".a.tmp.1.0x", ".a.tmp.99999999999.0"})
    EXPECT_EQ(temporaryOwner(name), std::nullopt) << name;
}

TEST(OutputRule, AWritePastTheFileSizeLimitIsToldAsAFileTooLarge) {
  const std::string folder = makeTempFolder();
  const Captured import =
      shellWithFileSizeLimit("cd '" + folder + "' && '" + std::string(JOBSHOP_PROGRAM) +
                                 "' import '" + kExamples + "D_Entrada.txt' --output out.txt",
                             20);
  EXPECT_EQ(import.status, 1);
  EXPECT_TRUE(contains(import.err, "File too large")) << import.err;
  EXPECT_FALSE(contains(import.err, "No space left")) << import.err;
  for (const auto& entry : fs::directory_iterator(folder))
    ADD_FAILURE() << "left behind: " << entry.path();
}

}  // namespace jobshop
