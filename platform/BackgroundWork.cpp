#include "platform/BackgroundWork.h"

#include <thread>

namespace velunor {

void RunDetached(std::function<void()> work)
{
    std::thread(std::move(work)).detach();
}

} // namespace velunor
