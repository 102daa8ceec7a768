// Adds doubles with the rounding error of each addition carried along (Neumaier), so that
// long columns of amounts add up as exactly as their texts allow.
#pragma once

class CCompensatedSum {
public:
    CCompensatedSum() = default;
    // The sum after adding numbers whose sum was exact at every step (whole numbers within
    // 2^53, say): each addition then leaves no rounding error, so what is carried is zero.
    static CCompensatedSum OfExact(double sum)
    {
        CCompensatedSum result;
        result.m_sum = sum;
        return result;
    }
    void Add(double value)
    {
        const double t = m_sum + value;
        if ((m_sum >= 0 ? m_sum : -m_sum) >= (value >= 0 ? value : -value))
            m_correction += (m_sum - t) + value;
        else
            m_correction += (value - t) + m_sum;
        m_sum = t;
    }
    double Get() const { return m_sum + m_correction; }

private:
    double m_sum = 0.0;
    double m_correction = 0.0;
};
