#pragma once
// Two lines' filter chains run together, each in one lane of a pair of doubles. Each chain
// is a recurrence whose every step waits on the one before; run in turn, they keep the
// processor waiting, while in a pair they share every instruction and their state stays in
// registers. Each lane gets exactly the operations LineFilter::step performs, in its order,
// so the values are the same to the last bit; a stage that is off in one line only is
// worked out in both lanes and its result and state taken for the line where it is on.

#include "line_filter.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace viewer {

#if defined(__SSE2__)

class FilterPair {
public:
    // Takes over the chains of two different lines until finish().
    FilterPair(LineFilter& a, LineFilter& b) : a_(a), b_(b) {
        const FilterCoefficients& ca = a.c_;
        const FilterCoefficients& cb = b.c_;
        L_ = _mm_set_pd(cb.L, ca.L);
        N_ = _mm_set_pd(cb.N, ca.N);
        M_ = _mm_set_pd(cb.M, ca.M);
        O_ = _mm_set_pd(cb.O, ca.O);
        J_ = _mm_set_pd(cb.J, ca.J);
        I_ = _mm_set_pd(cb.I, ca.I);
        K_ = _mm_set_pd(cb.K, ca.K);
        notch_ = mask(a.notchOn_, b.notchOn_);
        highPass_ = mask(a.highPassOn_, b.highPassOn_);
        const FilterState& sa = a.st_;
        const FilterState& sb = b.st_;
        x1_ = _mm_set_pd(sb.x1, sa.x1);
        x2_ = _mm_set_pd(sb.x2, sa.x2);
        y1_ = _mm_set_pd(sb.y1, sa.y1);
        y2_ = _mm_set_pd(sb.y2, sa.y2);
        t1_ = _mm_set_pd(sb.t1, sa.t1);
        t2_ = _mm_set_pd(sb.t2, sa.t2);
        z1_ = _mm_set_pd(sb.z1, sa.z1);
        w1_ = _mm_set_pd(sb.w1, sa.w1);
    }
    FilterPair(const FilterPair&) = delete;
    FilterPair& operator=(const FilterPair&) = delete;

    // One sample of each line (the lanes of `s`) through its chain; the two results.
    __m128d step(__m128d s) {
        const __m128d notched = _mm_sub_pd(
            _mm_sub_pd(_mm_mul_pd(O_, _mm_add_pd(_mm_add_pd(s, _mm_mul_pd(L_, x1_)), x2_)),
                       _mm_mul_pd(N_, y1_)),
            _mm_mul_pd(M_, y2_));
        y2_ = pick(notch_, y1_, y2_);
        y1_ = pick(notch_, notched, y1_);
        x2_ = pick(notch_, x1_, x2_);
        x1_ = pick(notch_, s, x1_);
        const __m128d u = pick(notch_, notched, s);
        const __m128d t = _mm_add_pd(_mm_add_pd(u, _mm_mul_pd(J_, _mm_sub_pd(t1_, u))),
                                     _mm_mul_pd(I_, _mm_sub_pd(u, t2_)));
        t2_ = t1_;
        t1_ = t;
        const __m128d passed = _mm_sub_pd(
            _mm_mul_pd(K_, _mm_sub_pd(_mm_add_pd(_mm_mul_pd(_mm_set1_pd(2.0), z1_), t), w1_)), z1_);
        const __m128d z = pick(highPass_, passed, t);
        z1_ = z;
        w1_ = t;
        return z;
    }

    // Hands the state back to the two chains.
    void finish() {
        store(a_.st_, false);
        store(b_.st_, true);
    }

private:
    static __m128d mask(bool a, bool b) {
        return _mm_castsi128_pd(_mm_set_epi64x(b ? -1 : 0, a ? -1 : 0));
    }
    // Lane by lane: `on` where the mask is set, `off` elsewhere.
    static __m128d pick(__m128d mask, __m128d on, __m128d off) {
        return _mm_or_pd(_mm_and_pd(mask, on), _mm_andnot_pd(mask, off));
    }
    // The chain state of the low or the high lane.
    void store(FilterState& st, bool high) const {
        const auto low = [&](__m128d v) { return _mm_cvtsd_f64(high ? _mm_unpackhi_pd(v, v) : v); };
        st.x1 = low(x1_);
        st.x2 = low(x2_);
        st.y1 = low(y1_);
        st.y2 = low(y2_);
        st.t1 = low(t1_);
        st.t2 = low(t2_);
        st.z1 = low(z1_);
        st.w1 = low(w1_);
    }

    LineFilter& a_;
    LineFilter& b_;
    __m128d L_, N_, M_, O_, J_, I_, K_, notch_, highPass_;
    __m128d x1_, x2_, y1_, y2_, t1_, t2_, z1_, w1_;
};

#endif

} // namespace viewer
