#pragma once
// Real-to-complex transforms on FFTW, any length, and their inverses. Plans are made once per
// length and kept for the lengths used last, each with its own aligned buffers, so a repeated
// transform of the same length costs only its execution.

#include <complex>
#include <memory>
#include <span>

namespace korvel {

class RealFft {
public:
    // The transform of n real values (n >= 1). Not for use from two threads at once.
    static RealFft& forLength(int n);
    ~RealFft();

    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    int length() const { return n_; }
    // Write the n values here, call execute(), read the n / 2 + 1 bins.
    std::span<double> input() { return {in_, static_cast<size_t>(n_)}; }
    void execute();
    std::span<const std::complex<double>> output() const
    {
        return {out_, static_cast<size_t>(n_ / 2 + 1)};
    }

private:
    explicit RealFft(int n);

    int n_;
    double* in_ = nullptr;
    std::complex<double>* out_ = nullptr;
    void* plan_ = nullptr;
    friend struct std::default_delete<RealFft>;
};

// The inverse: n / 2 + 1 bins in, n real values out, unnormalised (n times the signal whose
// transform the bins are).
class InverseRealFft {
public:
    static InverseRealFft& forLength(int n);
    ~InverseRealFft();

    InverseRealFft(const InverseRealFft&) = delete;
    InverseRealFft& operator=(const InverseRealFft&) = delete;

    int length() const { return n_; }
    std::span<std::complex<double>> input() { return {in_, static_cast<size_t>(n_ / 2 + 1)}; }
    // Overwrites the input.
    void execute();
    std::span<const double> output() const { return {out_, static_cast<size_t>(n_)}; }

private:
    explicit InverseRealFft(int n);

    int n_;
    std::complex<double>* in_ = nullptr;
    double* out_ = nullptr;
    void* plan_ = nullptr;
    friend struct std::default_delete<InverseRealFft>;
};

}  // namespace korvel
