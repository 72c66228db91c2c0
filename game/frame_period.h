// The frame period. Play advances by one fixed step of this length in every
// frame, whatever the frame's real length: every move is a speed in pixels
// per millisecond times this. The frame loop then waits out the rest of it.
#pragma once

inline constexpr int kFrameMillis = 30;
