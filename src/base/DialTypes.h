#pragma once
// The dial types as stored in DialType and in bits 5-7 of a recorded sample's flags. The
// traditional and continuous dials share the arc face; the two circular dials share the
// round face.
#include <cstdint>

namespace zk {

enum DialTypes : int32_t { DialCircular1 = 0, DialTraditional = 1, DialContinuous = 2, DialCircular2 = 3 };

// The arc face: traditional or continuous.
constexpr bool Arc_Dial(int32_t type) { return type == DialTraditional || type == DialContinuous; }
// The round face: either circular dial.
constexpr bool Round_Dial(int32_t type) { return type == DialCircular1 || type == DialCircular2; }

}  // namespace zk
