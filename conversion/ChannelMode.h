#pragma once

namespace velunor::conversion {

// How the two channels of the input become the one of the output.
enum class ChannelMode { Mix, LeftOnly, RightOnly };

} // namespace velunor::conversion
