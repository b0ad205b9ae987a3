#pragma once

#include <functional>

namespace velunor {

// What long work calls at the points where it lets the window handle its
// pending events (repaint, clicks, other handlers). Passed in by the caller,
// so that every place where other handlers may run in between is visible
// where the work is started. An empty Yield lets nothing run.
using Yield = std::function<void()>;

inline void YieldNow(const Yield &yield)
{
    if (yield)
        yield();
}

} // namespace velunor
