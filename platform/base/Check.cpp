// The check handler of the base layer: one for the process, replaced by tests that must see
// a check fail.
#include "platform/base/Check.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

void DefaultHandler(const CCheckFailure& failure)
{
    std::fprintf(stderr, "%s:%d: check failed: %s (%s)\n", failure.file, failure.line, failure.message,
                 failure.condition);
    std::fflush(stderr);
    std::abort();
}

CheckHandler& Handler()
{
    static CheckHandler handler = DefaultHandler;
    return handler;
}

} // namespace

void ReportCheckFailure(const CCheckFailure& failure)
{
    Handler()(failure);
}

CheckHandler SetCheckHandler(CheckHandler handler)
{
    CheckHandler previous = std::move(Handler());
    Handler() = handler ? std::move(handler) : CheckHandler(DefaultHandler);
    return previous;
}
