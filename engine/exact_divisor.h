// Division by a value fixed for a whole computation. When the divisor is a power of two whose
// reciprocal is finite, x / d and x * (1 / d) are the same real number and so round to the same
// double for every x (NaN, infinities, zeros and subnormals included); the product is then used
// because it is several times cheaper. Any other divisor is divided by.
#pragma once

#include <cmath>

namespace qev {

class ExactDivisor {
  public:
    constexpr ExactDivisor() = default;
    explicit ExactDivisor(double divisor) : divisor_(divisor), reciprocal_(1.0 / divisor) {
        int exponent = 0;
        byProduct_ = std::isfinite(divisor) && divisor != 0.0 && std::isfinite(reciprocal_) &&
                     std::fabs(std::frexp(divisor, &exponent)) == 0.5;
    }

    double divide(double x) const { return byProduct_ ? x * reciprocal_ : x / divisor_; }
    double divisor() const { return divisor_; }
    double reciprocal() const { return reciprocal_; }
    bool byProduct() const { return byProduct_; }

  private:
    double divisor_ = 1.0;
    double reciprocal_ = 1.0;
    bool byProduct_ = true;
};

}  // namespace qev
