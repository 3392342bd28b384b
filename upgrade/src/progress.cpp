#include "upgrade/progress.h"

#include <cmath>

namespace upgrade {

int Progress::percent(int counter) {
  // counter / 26 never lies half-way between two percentages, so the
  // rounding mode does not matter.
  int value = static_cast<int>(std::lround(static_cast<double>(counter) / kTotal * 100.0));
  return value > 100 ? 100 : value;
}

void Progress::start() {
  counter_ = 1;
  ui_.set_progress(1);
}

void Progress::step() {
  ++counter_;
  ui_.set_progress(percent(counter_));
}

}  // namespace upgrade
