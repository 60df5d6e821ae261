// Classical multidimensional scaling: points in the plane whose distances come as close as two
// dimensions allow to a given matrix of distances, so that schedules can be shown on a map.
#pragma once

#include <vector>

namespace jobshop {

struct MapPoint {
  double x = 0, y = 0;
};

struct ScaledPoints {
  std::vector<MapPoint> points;  // one per row of the distance matrix
  // The two axes' eigenvalues over the sum of every positive eigenvalue; 0 when none is positive
  // (a single point, or points that all coincide).
  double axisShare = 0;
};

// distances: a symmetric n x n matrix with a zero diagonal. Each axis is an eigenvector of the
// double-centred matrix of squared distances scaled by the square root of its eigenvalue (zero
// when that is not positive), turned so that its largest component is positive, so that the same
// distances always give the same map. About a fifth of a second for a thousand points.
ScaledPoints classicalScaling(const std::vector<std::vector<double>>& distances);

}  // namespace jobshop
