// Lets a test choose the calendar second that the computer's aim and the sound
// cues reseed from; the real clock comes back when the test ends.
#pragma once

#include <ctime>

#include "game/seconds_clock.h"

class FixedSecond {
 public:
  explicit FixedSecond(std::time_t second) {
    now_ = second;
    setSecondsSource([] { return now_; });
  }
  ~FixedSecond() { setSecondsSource(nullptr); }
  FixedSecond(const FixedSecond&) = delete;
  FixedSecond& operator=(const FixedSecond&) = delete;
  void set(std::time_t second) { now_ = second; }

 private:
  static inline std::time_t now_ = 0;
};
