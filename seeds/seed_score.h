// The distance of a curve from what a query asks for: 0 is a perfect match, and lower is better.
// Values are measured in the output range, Output Min to Output Max taken as 0 to 1 (u below):
//
//   sketch       the root mean square of u minus the sketch's u, over the curve's points that lie
//                within the sketch; the sketch is resampled to them by straight lines
//   starts=V     |u(first) - u(V)|            ends=V     |u(last) - u(V)|
//   loops        the end-to-start jump: |u(last) - u(first)| plus the difference between the
//                last step and the first step (u(last) - u(last-1) against u(second) - u(first))
//   range        1 - (highest u - lowest u)
//   seldom-ends  the share of values exactly at Output Min or Output Max
//   calm         the mean step |u(i+1) - u(i)|      lively   1 minus it
//   rising       (1 - r) / 2, falling (1 + r) / 2, where r is the rise of the least-squares line
//                over the whole curve, kept within -1 to 1
//
// The distance is the sum of the terms asked for.
#pragma once

#include <vector>

#include "seed_curves.h"
#include "seed_query.h"

namespace seeds {

class Scorer {
  public:
    // Nothing to score against is an empty query; a sketch that covers none of the curve's
    // points is refused by searchError() first.
    Scorer(const Query& query, const CurveSettings& settings);

    // The curve's distance; NaN where a value is NaN.
    double operator()(const std::vector<float>& curve) const;

    // The loops term alone.
    static double loopJump(const std::vector<float>& curve, float outputMin, float outputMax);

  private:
    Query query_;
    float lowEnd_, highEnd_;      // Output Min and Output Max, ordered
    double low_, span_;           // u = (value - low) / span
    std::vector<double> target_;  // the sketch's u at each point, NaN outside it
    std::size_t covered_ = 0;     // points within the sketch
};

// Why a search with this query and these settings cannot run, or "": no curve points, a sketch
// that covers none of them, rising or falling for Qev Random.
std::string searchError(const Query& query, const CurveSettings& settings);

}  // namespace seeds
