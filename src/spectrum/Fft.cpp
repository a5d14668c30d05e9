#include "spectrum/Fft.h"

#include <fftw3.h>

#include <algorithm>
#include <vector>

namespace korvel {

namespace {

// A zoom changes the length each time: keep the few used last, not every length ever seen.
constexpr size_t CachedPlans = 8;

template <class Transform>
Transform& cached(int n, Transform* (*make)(int))
{
    static std::vector<std::unique_ptr<Transform>> plans;
    const auto hit = std::find_if(plans.begin(), plans.end(),
                                  [n](const auto& p) { return p->length() == n; });
    if (hit != plans.end()) {
        // Most recent first.
        std::rotate(plans.begin(), hit, hit + 1);
        return *plans.front();
    }
    if (plans.size() == CachedPlans)
        plans.pop_back();
    plans.insert(plans.begin(), std::unique_ptr<Transform>(make(n)));
    return *plans.front();
}

// Estimated plans are made at once for any length; measuring would take longer than the
// transforms a zoom asks for.
constexpr unsigned PlanFlags = FFTW_ESTIMATE;

}  // namespace

RealFft& RealFft::forLength(int n)
{
    return cached<RealFft>(n, [](int length) { return new RealFft(length); });
}

RealFft::RealFft(int n) : n_(n)
{
    in_ = fftw_alloc_real(static_cast<size_t>(n));
    out_ = reinterpret_cast<std::complex<double>*>(fftw_alloc_complex(static_cast<size_t>(n / 2 + 1)));
    plan_ = fftw_plan_dft_r2c_1d(n, in_, reinterpret_cast<fftw_complex*>(out_), PlanFlags);
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

InverseRealFft& InverseRealFft::forLength(int n)
{
    return cached<InverseRealFft>(n, [](int length) { return new InverseRealFft(length); });
}

InverseRealFft::InverseRealFft(int n) : n_(n)
{
    in_ = reinterpret_cast<std::complex<double>*>(fftw_alloc_complex(static_cast<size_t>(n / 2 + 1)));
    out_ = fftw_alloc_real(static_cast<size_t>(n));
    plan_ = fftw_plan_dft_c2r_1d(n, reinterpret_cast<fftw_complex*>(in_), out_, PlanFlags);
}

InverseRealFft::~InverseRealFft()
{
    fftw_destroy_plan(static_cast<fftw_plan>(plan_));
    fftw_free(out_);
    fftw_free(in_);
}

void InverseRealFft::execute()
{
    fftw_execute(static_cast<fftw_plan>(plan_));
}

}  // namespace korvel
