// What the report's tests share: a small flow-shop folder whose five result files hold four runs,
// two execution records for them, the report command run in this process, and XPath queries over
// the page.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "program_runner.h"
#include "results/result_records.h"

namespace jobshop {

// Three jobs that all visit machine 1 then machine 2 for one time unit: every permutation
// schedule has makespan 4, the target, so runs can hold several distinct optima.
inline const char* const kFlowShop = "3\n2\n4\n1 1\n1 1\n1 1\n1 2\n1 2\n1 2\n";

// Two executions' worth of runs: run 1 stays above the target, run 2 has one optimum, run 3
// three (average distance 28/6) and run 4 four (average distance 60/12), one more than is drawn.
std::map<std::string, std::string> fixtureFiles();

// Two execution records for the fixture's four runs: the first with a given seed, the second under
// the wall clock, each with one parameter more than the documented ones.
std::string fixtureLog();

// A new temporary folder holding files (name to content).
std::string folderWith(const std::map<std::string, std::string>& files);

// The present content of each of files in folder ("" for one that is gone).
std::map<std::string, std::string> contentsOf(const std::string& folder,
                                              const std::map<std::string, std::string>& files);

Captured report(const std::vector<std::string>& args);

std::size_t occurrences(const std::string& text, const std::string& part);

// A run whose progress falls from best + 10 at generation 0 to best at generation 5.
RunRecord runEndingAt(int run, double best, int targetMakespan);

// The string value of an XPath expression over an XHTML file or fragment read as strict XML (a
// parse error fails the test); plain element names match inside the page's SVG too.
std::string xpath(const std::string& file, const std::string& expression);
std::string xpathOfText(const std::string& markup, const std::string& expression);

// How many elements of the XHTML page have exactly that class; -1 when it is not well-formed XML.
int countElements(const std::string& page, const std::string& className);

// True when the file reads as well-formed XML without an error or a warning.
bool wellFormedXml(const std::string& file);

}  // namespace jobshop
