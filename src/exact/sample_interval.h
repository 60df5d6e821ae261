// The total of a finite population of subtrees estimated from a simple random sample drawn without
// replacement, after a pilot that settled some subtrees exactly and left a known lower bound for
// each of the others: a difference estimator (Cochran, Sampling Techniques, 3rd ed., sections
// 2.4 and 7.7) with the finite population correction and a Student t interval.
#pragma once

#include <vector>

namespace jobshop {

struct SampledStratum {
  double settled = 0;     // the exact total of the subtrees the pilot counted to the end
  double pilotFloor = 0;  // the sum of the pilot's lower bounds of all the other subtrees
  int population = 0;     // how many other subtrees there are
  // For each sampled one of the others counted to the end: its exact count minus the pilot's
  // lower bound of it.
  std::vector<double> gains;
  // For each sampled one too large to count: an unbiased estimate of its count (from a sample
  // within it) minus the pilot's lower bound of it. Part of the sample as much as the gains.
  std::vector<double> estimatedGains;
};

struct SampleInterval {
  double value = 0;
  double standardError = 0;
  double low = 0;   // never below what is known for certain: settled + pilotFloor + the gains
  double high = 0;  // infinite when the sample is too skewed for a t interval
  double level = 0.95;
  double skewness = 0;  // the gains' sample skewness g1
  double tHigh = 0;     // the t interval's high end, before an infinite high replaces it
};

// Cochran's rule needs at least this many gains above zero, and this large a sample: below them
// the sample's skewness says little of the population's (two gains have none at all).
inline constexpr int kLeastNonZeroGains = 2;
inline constexpr int kLeastSampleForUpperEnd = 10;

// The two-sided 97.5 % point of Student's t with df degrees of freedom (df >= 1).
double studentT975(int df);

// settled + pilotFloor + population * mean(gains) (raised to the certain floor, where estimated
// gains below zero took it under), its standard error
// population * sqrt((1 - n / population) * s^2 / n) with s^2 the gains' sample variance, and the
// 95 % interval value -/+ t(n - 1) * standardError, its low end raised to the certain floor. With
// every subtree sampled and counted the estimate is exact and the interval a point. Where some
// gains are estimates themselves (two-stage sampling), the mean and spread are of all n gains and
// the finite population correction is left out: population * sqrt(s^2 / n) then estimates the
// variance of both stages together, without bias were the first stage drawn with replacement and
// a little high as it is drawn without (the "ultimate cluster" estimate: Hansen, Hurwitz and
// Madow, Sample Survey Methods and Theory, 1953; Cochran, Sampling Techniques, 3rd ed., ch. 11),
// so the interval errs wide. The t interval of a
// skewed population undercovers: where the sample fails Cochran's rule for a normal mean
// (n > 25 g1^2, Sampling Techniques, section 2.15), where fewer than 10 are sampled, and where
// fewer than two gains are above zero
// (the rest of the total may hide in a subtree the sample missed), the interval runs from the
// floor to infinity.
SampleInterval estimateTotal(const SampledStratum& stratum);

}  // namespace jobshop
