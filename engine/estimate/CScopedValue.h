// CScopedValue: a value set for the length of a scope and put back however the scope is
// left, a return or an exception from the sheet included.
//
// The engine's recalculation raises flags its walks read (a recalculation is running, the
// walk below the tax rows goes on from here, the rows' numbers are left alone); one left
// raised by an early exit would make the next recalculation wrong, or point it at a walk's
// data that is gone. Each such flag is raised by one of these:
//
//     const CScopedValue<bool> inRecalc(m_bInRecalc, true);
#pragma once

#include <utility>

template <class T>
class CScopedValue {
public:
    CScopedValue(T& value, T during) : m_value(value), m_was(std::exchange(value, std::move(during))) {}
    ~CScopedValue() { m_value = std::move(m_was); }
    CScopedValue(const CScopedValue&) = delete;
    CScopedValue& operator=(const CScopedValue&) = delete;

private:
    T& m_value;
    T m_was;
};
