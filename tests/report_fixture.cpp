#include "report_fixture.h"

#include <gtest/gtest.h>

#include <sstream>

#include "run/report_command.h"
#include "test_instances.h"
#include "xml_document.h"

namespace jobshop {

std::map<std::string, std::string> fixtureFiles() {
  return {
      {"D_Entrada.txt", kFlowShop},
      {"D_Sal_Mejores.txt",
       "7.0 0\n5.0 3\n\n6.0 0\n4.0 2\n\n4.0 0\n\n8.0 0\n6.0 1\n5.0 4\n4.0 9\n\n"},
      {"D_Sal_Optimos.txt", "5.0\n4.0\n4.0\n4.0\n"},
      {"D_Sal_NumOptimos.txt", "1\n3\n4\n"},
      {"D_Sal_Distancias.txt", "4.67\n5.00\n"},
      {"D_Sal_Soluciones.txt",
       "1 2 3 1 2 3 4 \n\n"
       "1 2 3 1 2 3 4 \n1 3 2 1 3 2 4 \n2 3 1 2 3 1 4 \n\n"
       "1 2 3 1 2 3 4 \n3 2 1 3 2 1 4 \n2 1 3 2 1 3 4 \n1 3 2 1 3 2 4 \n\n"},
  };
}

std::string fixtureLog() {
  const std::string parameters =
      "\"parameters\":{\"populationSize\":2,\"maxEvaluations\":40,\"runCount\":2,"
      "\"swapMutationEnabled\":true,\"futureKnob\":\"x,y\"}";
  return "{\"program\":\"jobshop-niching\",\"version\":\"1.0.0\",\"started\":"
         "\"2026-12-09T03:40:00Z\",\"seed\":17,\"seedGiven\":true,\"wallClock\":false,"
         "\"instance\":{\"jobs\":3,\"machines\":2,\"target\":4,\"sha256\":\"ab\"}," +
         parameters +
         ",\"runs\":[{\"run\":1,\"bestMakespan\":5.0,\"generations\":12,\"evaluations\":26,"
         "\"targetGeneration\":null,\"distinctOptima\":0,\"seconds\":0.25},"
         "{\"run\":2,\"bestMakespan\":4.0,\"generations\":9,\"evaluations\":20,"
         "\"targetGeneration\":2,\"distinctOptima\":1,\"seconds\":0.5}],\"exitStatus\":0}\n"
         "\n"
         "{\"version\":\"1.0.1\",\"started\":\"2026-12-10T00:00:00Z\",\"seed\":null,"
         "\"seedGiven\":false,\"wallClock\":true," +
         parameters +
         ",\"runs\":[{\"run\":1,\"bestMakespan\":4.0,\"generations\":3,\"evaluations\":8,"
         "\"targetGeneration\":0,\"seconds\":1.0},{\"run\":2,\"bestMakespan\":4.0,"
         "\"generations\":30,\"evaluations\":42,\"targetGeneration\":9,\"seconds\":2.0}]}\n";
}

std::string folderWith(const std::map<std::string, std::string>& files) {
  const std::string folder = makeTempFolder();
  for (const auto& [name, text] : files) writeFile(folder + name, text);
  return folder;
}

std::map<std::string, std::string> contentsOf(const std::string& folder,
                                              const std::map<std::string, std::string>& files) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : files) {
    contents[entry.first] = fileExists(folder + entry.first) ? readFile(folder + entry.first) : "";
  }
  return contents;
}

Captured report(const std::vector<std::string>& args) {
  return captureCommand(
      [&](std::ostream& out, std::ostream& err) { return runReportCommand(args, out, err); });
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

RunRecord runEndingAt(int run, double best, int targetMakespan) {
  RunRecord record;
  record.run = run;
  record.best = best;
  record.reachedTarget = best <= targetMakespan;
  record.progress = {{best + 10.0, 0}, {best, 5}};
  return record;
}

std::string xpath(const std::string& file, const std::string& expression) {
  XmlDocument page = XmlDocument::fromFile(file);
  EXPECT_TRUE(page.wellFormed()) << file << "\n" << page.errors();
  return page.value(expression);
}

std::string xpathOfText(const std::string& markup, const std::string& expression) {
  XmlDocument fragment = xmlOfFragment(markup);
  EXPECT_TRUE(fragment.wellFormed()) << fragment.errors();
  return fragment.value(expression);
}

int countElements(const std::string& page, const std::string& className) {
  XmlDocument document = XmlDocument::fromFile(page);
  return document.wellFormed() ? document.count("//*[@class=\"" + className + "\"]") : -1;
}

bool wellFormedXml(const std::string& file) { return XmlDocument::fromFile(file).wellFormed(); }

}  // namespace jobshop
