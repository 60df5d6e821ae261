// The default parameter file and the init command that writes it without ever replacing an
// existing file by accident.
#include "run/init_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "input/parameter_reader.h"
#include "input/parameter_template.h"
#include "test_instances.h"

namespace jobshop {

TEST(ParameterTemplate, DefaultFileReadsBackThroughTheParameterReader) {
  const std::string text = formatParameterFile(defaultParameters());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 38);
  EXPECT_EQ(text.rfind("populationSize\n100\nmaxEvaluations\n20000\nrunCount\n10\n", 0), 0u);

  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Algoritmo.txt", text);
  const Parameters p = readParameters(folder + "D_Algoritmo.txt");
  EXPECT_EQ(p.populationSize, 100);
  EXPECT_EQ(p.maxEvaluations, 20000);
  EXPECT_EQ(p.runCount, 10);
  EXPECT_EQ(p.crossoverPercent, 80);
  EXPECT_EQ(p.mutationPercent, 20);
  EXPECT_FALSE(p.scrambleMutationEnabled);
  EXPECT_TRUE(p.insertionMutationEnabled);
  EXPECT_TRUE(p.swapMutationEnabled);
  EXPECT_FALSE(p.neighbourSwapMutationEnabled);
  EXPECT_FALSE(p.segmentWrapCrossoverEnabled);
  EXPECT_FALSE(p.cycleCrossoverEnabled);
  EXPECT_TRUE(p.segmentFillCrossoverEnabled);
  EXPECT_FALSE(p.maskKeepCrossoverEnabled);
  EXPECT_FALSE(p.maskReorderCrossoverEnabled);
  EXPECT_FALSE(p.segmentInsertCrossoverEnabled);
  EXPECT_FALSE(p.precedenceCrossoverEnabled);
  EXPECT_EQ(p.mateCandidates, 4);
  EXPECT_EQ(p.crowdingGroups, 4);
  EXPECT_EQ(p.crowdingGroupSize, 10);

  // Every field lands in its own pair: flip each flag alone and read it back.
  Parameters oneFlag;
  oneFlag.populationSize = 2;
  oneFlag.mateCandidates = oneFlag.crowdingGroups = oneFlag.crowdingGroupSize = 1;
  oneFlag.precedenceCrossoverEnabled = true;
  oneFlag.neighbourSwapMutationEnabled = true;
  writeFile(folder + "D_Algoritmo.txt", formatParameterFile(oneFlag));
  const Parameters back = readParameters(folder + "D_Algoritmo.txt");
  EXPECT_TRUE(back.precedenceCrossoverEnabled);
  EXPECT_TRUE(back.neighbourSwapMutationEnabled);
  EXPECT_FALSE(back.segmentFillCrossoverEnabled);
  EXPECT_FALSE(back.swapMutationEnabled);
}

TEST(InitCommand, WritesTheDefaultsAndNeverReplacesAFileWithoutForce) {
  const std::string folder = makeTempFolder();
  const std::string path = folder + "D_Algoritmo.txt";
  const std::string defaults = formatParameterFile(defaultParameters());
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runInitCommand({}, folder, out, err), 0) << err.str();
  EXPECT_EQ(readFile(path), defaults);
  // The flags named as the file names them, the one spelling of the parameters.
  EXPECT_EQ(out.str(), "Wrote " + path +
                           ": population 100, 20000 evaluations per run, 10 runs, crossover 80%, "
                           "mutation 20%, enabled: segmentFillCrossoverEnabled, "
                           "insertionMutationEnabled, swapMutationEnabled; 4 mate candidates, 4 "
                           "crowding groups of 10\n");
  EXPECT_EQ(err.str(), "");

  writeFile(path, "edited by hand\n");
  std::ostringstream refusedOut;
  std::ostringstream refusedErr;
  EXPECT_EQ(runInitCommand({}, folder, refusedOut, refusedErr), 1);
  EXPECT_EQ(readFile(path), "edited by hand\n");
  EXPECT_EQ(refusedOut.str(), "");
  EXPECT_EQ(refusedErr.str(),
            "jobshop-niching init: " + path + " already exists; use --force to replace it\n");

  std::ostringstream forcedOut;
  std::ostringstream forcedErr;
  EXPECT_EQ(runInitCommand({"--force"}, folder, forcedOut, forcedErr), 0) << forcedErr.str();
  EXPECT_EQ(readFile(path), defaults);
}

TEST(InitCommand, UnwritableFolderAndBadArguments) {
  const std::string folder = makeTempFolder();
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runInitCommand({}, folder + "missing/", out, err), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "jobshop-niching init: cannot write " + folder +
                           "missing/D_Algoritmo.txt (No such file or directory)\n");

  std::ostringstream usageOut;
  std::ostringstream usageErr;
  EXPECT_EQ(runInitCommand({"--froce"}, folder, usageOut, usageErr), 2);
  EXPECT_EQ(usageErr.str(),
            "jobshop-niching init: unexpected argument --froce (did you mean --force?)\n" +
                std::string(kInitUsage) + "\n");
  EXPECT_FALSE(fileExists(folder + "D_Algoritmo.txt"));
}

TEST(InitCommand, ForceNeverWritesThroughALinkToAnotherFileOfTheFolder) {
  const std::string folder = makeTempFolder();
  const std::string path = folder + "D_Algoritmo.txt";
  writeFile(folder + "D_Entrada.txt", "instance\n");
  std::filesystem::create_symlink("D_Entrada.txt", path);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runInitCommand({"--force"}, folder, out, err), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "jobshop-niching init: " + path + " is the same file as " + folder +
                           "D_Entrada.txt, which the program reads\n" + kInitUsage + "\n");
  EXPECT_EQ(readFile(folder + "D_Entrada.txt"), "instance\n");

  std::filesystem::remove(path);
  writeFile(folder + "D_Sal_Optimos.txt", "55.0\n");
  std::filesystem::create_hard_link(folder + "D_Sal_Optimos.txt", path);
  std::ostringstream linkedOut;
  std::ostringstream linkedErr;
  EXPECT_EQ(runInitCommand({"--force"}, folder, linkedOut, linkedErr), 2);
  EXPECT_EQ(readFile(folder + "D_Sal_Optimos.txt"), "55.0\n");
}

}  // namespace jobshop
