// The one rule for every file a command writes or appends: it never lands on a file the command
// reads, nor on one of a folder's inputs and records, whatever name, hard link or symbolic link
// leads to it. A link to a harmless place stays a valid output.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jobshop {

// The files every folder may hold under their own names, without the list optima.json names.
std::vector<std::string> folderOwnFiles(const std::string& folder);

// What a folder ("" or ending in '/') holds that some command reads: the two inputs, the five
// result files, the trace, executions.jsonl, the commit journal, optima.json, the list optima.json
// names and the count's checkpoint. Files that do not exist yet are listed too: an output must not
// take the place where the next run would write them.
std::vector<std::string> folderRecordFiles(const std::string& folder);

// The list optima.json in folder names, as a path from where the program runs; nothing when there
// is none (a malformed optima.json is for its readers to describe).
std::optional<std::string> namedListFile(const std::string& folder);

// files without those a command writes itself, spelled as folderRecordFiles spells them.
std::vector<std::string> filesOtherThan(std::vector<std::string> files,
                                        const std::vector<std::string>& own);

// The first of protectedFiles that writing output would write over, or nothing: the same existing
// file (by device and inode, so also through a hard link or a symbolic link), or the same place
// once links and dots are resolved (a link to a file not written yet).
std::optional<std::string> clashingFile(const std::string& output,
                                        const std::vector<std::string>& protectedFiles);

// "OUTPUT is the same file as INPUT": how the English-speaking commands name the pair (a path that
// is itself one of the files is named once).
std::string clashReason(const std::string& output, const std::string& input);

}  // namespace jobshop
