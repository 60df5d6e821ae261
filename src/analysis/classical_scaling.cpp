#include "analysis/classical_scaling.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace jobshop {

namespace {

using Eigen::Index;
using Eigen::MatrixXd;
using Eigen::VectorXd;

// Columns added to the search space at a time: a block keeps two equal leading eigenvalues (points
// spread evenly both ways, as on a square) from hiding one of their axes.
constexpr Index kBlockColumns = 4;
// The search space starts from vectors of this fixed seed, so that a map never changes between
// reports of the same folder.
constexpr std::uint64_t kStartSeed = 0x6e69636865;
// Relative to the largest eigenvalue: smaller eigenvalues are rounding noise, and an axis is taken
// once its residual is this small.
constexpr double kNegligible = 1e-12;
constexpr double kConverged = 1e-7;
// The basis is tested only as it grows by half again: each test solves a problem of its size.
constexpr double kTestGrowth = 1.5;

// -1/2 J D² J, the matrix of inner products of points centred on their mean.
MatrixXd centredProducts(const std::vector<std::vector<double>>& distances) {
  const auto n = static_cast<Index>(distances.size());
  MatrixXd products(n, n);
  for (Index i = 0; i < n; ++i) {
    for (Index j = 0; j < n; ++j) {
      const double d = distances[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
      products(i, j) = -0.5 * d * d;
    }
  }
  const VectorXd means = products.rowwise().mean();
  const double mean = means.mean();
  products.colwise() -= means;
  products.rowwise() -= means.transpose();
  products.array() += mean;
  return products;
}

VectorXd randomVector(Index n, std::mt19937_64& random) {
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  VectorXd vector(n);
  for (Index i = 0; i < n; ++i) vector(i) = uniform(random);
  return vector;
}

// Appends the columns of block to the orthonormal basis, each made orthogonal to it (twice, since
// once loses orthogonality to rounding); a column that lies in the basis is replaced by a random
// one, so that the space keeps growing until it is the whole space.
void extendBasis(MatrixXd& basis, const MatrixXd& block, std::mt19937_64& random) {
  const Index n = basis.rows();
  for (Index c = 0; c < block.cols() && basis.cols() < n; ++c) {
    VectorXd column = block.col(c);
    for (int attempt = 0; attempt < 8; ++attempt) {
      const double before = column.norm();
      for (int pass = 0; pass < 2; ++pass) column -= basis * (basis.transpose() * column);
      if (before > 0 && column.norm() > 1e-8 * before) break;
      column = randomVector(n, random);
    }
    basis.conservativeResize(Eigen::NoChange, basis.cols() + 1);
    basis.col(basis.cols() - 1) = column.normalized();
  }
}

// The eigenvectors of the `wanted` largest eigenvalues, by Rayleigh-Ritz on a block Krylov space
// grown until they are eigenvectors to within kConverged: the matrix's products alone, far fewer
// than a full decomposition of a thousand points needs.
MatrixXd leadingEigenvectors(const MatrixXd& products, Index wanted, double scale) {
  const Index n = products.rows();
  std::mt19937_64 random(kStartSeed);
  MatrixXd basis(n, 0);
  MatrixXd images(n, 0);
  MatrixXd block(n, std::min(kBlockColumns, n));
  for (Index c = 0; c < block.cols(); ++c) block.col(c) = randomVector(n, random);
  Index nextTest = 2 * kBlockColumns;
  while (true) {
    const Index known = basis.cols();
    extendBasis(basis, block, random);
    const Index added = basis.cols() - known;
    images.conservativeResize(Eigen::NoChange, basis.cols());
    images.rightCols(added) = products * basis.rightCols(added);
    const bool whole = basis.cols() == n || added == 0;
    if (whole || basis.cols() >= nextTest) {
      nextTest = static_cast<Index>(kTestGrowth * static_cast<double>(basis.cols()));
      MatrixXd projected = basis.transpose() * images;
      projected = (0.5 * (projected + projected.transpose())).eval();
      const Eigen::SelfAdjointEigenSolver<MatrixXd> small(projected);
      const MatrixXd coefficients = small.eigenvectors().rightCols(wanted);
      MatrixXd vectors = basis * coefficients;
      const MatrixXd residuals =
          images * coefficients - vectors * small.eigenvalues().tail(wanted).asDiagonal();
      if (whole || residuals.colwise().norm().maxCoeff() <= kConverged * scale) return vectors;
    }
    block = images.rightCols(added);
  }
}

// Turns the axis so that its largest component (the first of those as large) is positive.
void fixSign(VectorXd& axis) {
  const double largest = axis.cwiseAbs().maxCoeff();
  for (Index i = 0; i < axis.size(); ++i) {
    if (std::abs(axis(i)) >= largest * (1.0 - 1e-9)) {
      if (axis(i) < 0) axis = -axis;
      return;
    }
  }
}

}  // namespace

ScaledPoints classicalScaling(const std::vector<std::vector<double>>& distances) {
  const auto n = static_cast<Index>(distances.size());
  ScaledPoints scaled;
  scaled.points.resize(distances.size());
  if (n < 2) return scaled;
  const MatrixXd products = centredProducts(distances);
  // Every eigenvalue, for the share; the eigenvectors of only the two that are drawn.
  const VectorXd values =
      Eigen::SelfAdjointEigenSolver<MatrixXd>(products, Eigen::EigenvaluesOnly).eigenvalues();
  const double scale = values.cwiseAbs().maxCoeff();
  if (scale == 0) return scaled;
  const double floor = kNegligible * scale;
  const VectorXd positive = (values.array() > floor).select(values, 0.0);
  const double first = positive(n - 1);
  const double second = positive(n - 2);
  scaled.axisShare = positive.sum() > 0 ? (first + second) / positive.sum() : 0.0;
  const MatrixXd vectors = leadingEigenvectors(products, 2, scale);
  VectorXd xAxis = vectors.col(1) * std::sqrt(first);
  VectorXd yAxis = vectors.col(0) * std::sqrt(second);
  fixSign(xAxis);
  fixSign(yAxis);
  for (Index i = 0; i < n; ++i) scaled.points[static_cast<std::size_t>(i)] = {xAxis(i), yAxis(i)};
  return scaled;
}

}  // namespace jobshop
