// The five result files of a folder and the run trace beside them, and how one run's records are
// committed to them: all of a run's records or none, whatever stops the program (a kill, a full
// disk) and whenever.
//
// Before appending, the lengths of the six files go to a journal file in the folder; then the
// records are appended and the journal removed. A failed write cuts every file back to its
// journal length at once; an execution that died in between leaves the journal, and the next one
// to lock the folder cuts the files back before it starts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace jobshop {

inline const char* const kProgressFileName = "D_Sal_Mejores.txt";
inline const char* const kOptimaFileName = "D_Sal_Optimos.txt";
inline const char* const kOptimumCountFileName = "D_Sal_NumOptimos.txt";
inline const char* const kDistanceFileName = "D_Sal_Distancias.txt";
inline const char* const kSolutionFileName = "D_Sal_Soluciones.txt";
// The five in the order a run's records are committed and the execution record lists offsets.
inline const char* const kResultFileNames[5] = {kProgressFileName, kOptimaFileName,
                                                kOptimumCountFileName, kDistanceFileName,
                                                kSolutionFileName};
// The trace of every generation of each run, committed with the run's records in the five files.
inline const char* const kTraceFileName = "D_Sal_Traza.txt";
inline const char* const kJournalFileName = ".jobshop-niching.journal";

struct RunRecords;

// The five files and the trace of one folder open for appending (-1 for one that is not open);
// closed on destruction.
struct ResultFileSet {
  std::string folder;  // "" or ending in '/'
  std::array<int, 5> descriptors{-1, -1, -1, -1, -1};
  int traceDescriptor = -1;

  ResultFileSet() = default;
  ~ResultFileSet();
  ResultFileSet(const ResultFileSet&) = delete;
  ResultFileSet& operator=(const ResultFileSet&) = delete;

  bool progressOpen() const { return descriptors[0] >= 0; }
  // The four files of the optima analysis, all of them.
  bool analysisOpen() const;
  bool traceOpen() const { return traceDescriptor >= 0; }
};

// Opens the progress file, then the four analysis files in order, stopping at the first of those
// that cannot be opened (then none of the four is kept open), then the trace. Nothing is
// truncated.
void openResultFiles(ResultFileSet& files, const std::string& folder);

// The bytes the open trace holds before this run's (0 when it is not open).
std::int64_t traceLength(const ResultFileSet& files);

struct CommitOutcome {
  // "" when every record reached its file; otherwise the file and the system's reason, and no
  // file holds any of the run's records.
  std::string failure;
  // Where the run's records start in each of the five files, when all five were open.
  std::optional<std::array<std::int64_t, 5>> offsets;
  // Where the run's text starts in the trace, when it was open.
  std::optional<std::int64_t> traceStart;
};

// Appends each open file's record text, all or none, and closes the files.
CommitOutcome commitRunRecords(ResultFileSet& files, const RunRecords& records);

// Undoes the commit an earlier execution died in, if the folder holds its journal: cuts the six
// files back to their lengths before it and removes the journal. Returns one line per file cut
// back or problem met, "" when there was no journal.
std::string recoverUnfinishedCommit(const std::string& folder);

}  // namespace jobshop
