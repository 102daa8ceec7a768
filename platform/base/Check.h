// Checks of what the code relies on, loud in the test and fuzz builds.
//
// MORVEL_CHECK(condition, "what does not hold") states an invariant the code relies on: a sum
// kept beside the rows equals what the rows add up to, say. In the builds with checks (the
// test build and the fuzz build define MORVEL_CHECKS; see the root CMakeLists.txt) a false
// condition goes to the check handler, which by default prints the failure and aborts, so
// that a test or a fuzz run stops at the spot and the fuzzer keeps the input; the release
// build leaves the check out and never evaluates the condition. A check that costs a walk
// over the data is written as
//
//     if constexpr (kChecksOn)
//         MORVEL_CHECK(KeptSumsMatchTheRows(), "the kept sums are those of the rows");
//
// A test that must see a check fail (it shows that the check can fail) installs a handler of
// its own for its scope:
//
//     std::vector<std::string> failures;
//     CCheckHandlerScope scope([&](const CCheckFailure& failure) { failures.push_back(failure.message); });
#pragma once

#include <functional>

#if defined(MORVEL_CHECKS) && MORVEL_CHECKS
inline constexpr bool kChecksOn = true;
#else
inline constexpr bool kChecksOn = false;
#endif

// What a failed check says: where it stands, its condition and its message.
struct CCheckFailure {
    const char* file;
    int line;
    const char* condition;
    const char* message;
};

using CheckHandler = std::function<void(const CCheckFailure& failure)>;

// Hands a failed check to the handler (by default: the failure on the error stream, then
// abort).
void ReportCheckFailure(const CCheckFailure& failure);

// Installs a handler and returns the previous one (an empty handler restores the default).
CheckHandler SetCheckHandler(CheckHandler handler);

// A handler for the scope of a test; the previous one comes back at its end.
class CCheckHandlerScope {
public:
    explicit CCheckHandlerScope(CheckHandler handler) : m_previous(SetCheckHandler(std::move(handler))) {}
    ~CCheckHandlerScope() { SetCheckHandler(std::move(m_previous)); }
    CCheckHandlerScope(const CCheckHandlerScope&) = delete;
    CCheckHandlerScope& operator=(const CCheckHandlerScope&) = delete;

private:
    CheckHandler m_previous;
};

#define MORVEL_CHECK(condition, message)                                                                     \
    do {                                                                                                     \
        if constexpr (kChecksOn) {                                                                           \
            if (!(condition))                                                                                \
                ReportCheckFailure(CCheckFailure{__FILE__, __LINE__, #condition, message});                  \
        }                                                                                                    \
    } while (0)
