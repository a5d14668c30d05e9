#include "spectrum/Fft.h"

#include <fftw3.h>

#include <algorithm>
#include <vector>

namespace korvel {

namespace {

// A zoom changes the length each time: keep the few used last, not every length ever seen.
constexpr size_t CachedPlans = 8;

std::vector<std::unique_ptr<RealFft>>& cache()
{
    static std::vector<std::unique_ptr<RealFft>> plans;
    return plans;
}

}  // namespace

RealFft& RealFft::forLength(int n)
{
    auto& plans = cache();
    const auto hit = std::find_if(plans.begin(), plans.end(),
                                  [n](const auto& p) { return p->length() == n; });
    if (hit != plans.end()) {
        // Most recent first.
        std::rotate(plans.begin(), hit, hit + 1);
        return *plans.front();
    }
    if (plans.size() == CachedPlans)
        plans.pop_back();
    plans.insert(plans.begin(), std::unique_ptr<RealFft>(new RealFft(n)));
    return *plans.front();
}

RealFft::RealFft(int n) : n_(n)
{
    in_ = fftw_alloc_real(static_cast<size_t>(n));
    out_ = reinterpret_cast<std::complex<double>*>(fftw_alloc_complex(static_cast<size_t>(n / 2 + 1)));
    // Estimated plans are made at once for any length; measuring would take longer than the
    // transforms a zoom asks for.
    plan_ = fftw_plan_dft_r2c_1d(n, in_, reinterpret_cast<fftw_complex*>(out_), FFTW_ESTIMATE);
}

RealFft::~RealFft()
{
    fftw_destroy_plan(static_cast<fftw_plan>(plan_));
    fftw_free(out_);
    fftw_free(in_);
}

void RealFft::execute()
{
    fftw_execute(static_cast<fftw_plan>(plan_));
}

}  // namespace korvel
