// The order in which a dendrogram built by average linkage lists its leaves, so that a distance
// matrix drawn in that order shows each cluster as a block on its diagonal.
#pragma once

#include <cstddef>
#include <vector>

namespace jobshop {

// Leaves of the average-linkage (unweighted pair-group) dendrogram of the square matrix distances,
// left to right: a permutation of 0..n-1 in which the members of every cluster it forms are
// adjacent. Each step merges the two clusters whose average distance over all pairs between them
// is smallest; among equal averages (compared exactly) the pair whose lowest members are lowest
// merges first, the pair with the lowest first-cluster member winning, then the one with the
// lowest second. A merged cluster lists the cluster holding the lower member first, so the order
// always starts with 0. Only the cells above the diagonal are read.
std::vector<std::size_t> averageLinkageOrder(const std::vector<std::vector<int>>& distances);

}  // namespace jobshop
