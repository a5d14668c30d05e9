#pragma once
// "Интегрирование": a first-order running average with weight 1/N whose output is quantised to
// whole ADC units. One per plotted channel; the channel's first sample starts it.

#include "text/NumberFormat.h"

namespace korvel {

class Smoother {
public:
    // N comes from seInt (2..2048); anything below 1 would divide by zero, so it is held at 1.
    explicit Smoother(int N) : N_(N < 1 ? 1 : N) {}

    long long next(int r)
    {
        if (!started_) {
            a_ = r;
            started_ = true;
        }
        // The accumulator keeps the unrounded value; only the output is rounded (half to even).
        a_ = static_cast<double>((static_cast<long double>(N_ - 1) * a_ + r) / N_);
        return Round(a_);
    }

    double accumulator() const { return a_; }

private:
    int N_;
    bool started_ = false;
    double a_ = 0.0;
};

}  // namespace korvel
