#include "game/seconds_clock.h"

namespace {
std::time_t realSeconds() {
  return std::time(nullptr);
}
SecondsSource secondsSource = realSeconds;
}  // namespace

std::time_t currentSeconds() {
  return secondsSource();
}

void setSecondsSource(SecondsSource source) {
  secondsSource = source ? source : realSeconds;
}
