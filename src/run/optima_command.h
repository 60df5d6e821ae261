// The optima command: how many semi-active schedules of the instance are within a makespan bound,
// counted exactly by the exact search, optionally listed.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace jobshop {

inline constexpr const char* kOptimaUsage =
    "usage: jobshop-niching optima [--bound T | --optimum] [--list FILE] [--limit K] "
    "[--time-limit S] [--memory MB] [--resume] [--estimate P] [--sample N [--pilot NODES]] "
    "[--seed S] [--piece K/N | --merge | --workers W [--pieces N] | --slurm --pieces N [--submit] "
    "[--partition P] [--time T] [--max-running K]] [--search states|disjunctive|auto] [--backbone] "
    "[--threads K] [--force] [--dir DIR]";

// Handles the arguments after the word "optima". Reads DIR's "D_Entrada.txt", counts the distinct
// sets of machine sequences of makespan <= T (the instance's target without --bound, the proven
// optimum with --optimum), writes them to FILE with --list, and writes DIR's "optima.json". Without
// --list or --limit it counts without visiting every schedule, in at most --memory MB of table,
// leaves "optima-checkpoint.json" when stopped and goes on from it with --resume. With --piece K/N
// it counts only piece K of N of the tree and writes "optima-piece-K-of-N.json" instead of
// optima.json; --merge checks that the folder's pieces make one whole count and writes their
// total to optima.json as the whole count would have. --workers W counts the pieces still to count
// as W child processes of this program and then merges them; --slurm writes (and with --submit
// submits) a Slurm job array of them and the merge after it. With --backbone a complete count
// also writes the pairs of jobs on a machine that every schedule counted orders the same way.
// Prints on out a summary whose first line is "count N". Without --list, an optima.json that names
// a list keeps naming it when this count is of the same instance with the same bound and count (the
// summary then says "list FILE (kept)"); otherwise the command refuses, before counting when it
// can, to leave that list unnamed, unless --force. Returns 0 when done (also when the count is cut
// short by --limit or --time-limit, which the summary's "complete no" says); 1 when the instance
// is refused or too large for the search, an earlier list would be left unnamed, or a file cannot
// be written, or there is no checkpoint of this count to resume; 128 + the signal when SIGINT or
// SIGTERM stopped a count without a list (optima.json then holds its lower bound); 2 for bad
// arguments (reason and usage on err). `--help` prints the usage on out and returns 0.
int runOptimaCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace jobshop
