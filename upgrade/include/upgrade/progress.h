// The per-tenant progress bar: a counter against a fixed total of 26. The
// stages make up to 71 steps, so from the 25th step on the bar stays full.
#pragma once

#include "upgrade/ui.h"

namespace upgrade {

class Progress {
 public:
  static constexpr int kTotal = 26;

  explicit Progress(Ui& ui) : ui_(ui) {}

  // Counter 1, bar 1 (the start of a tenant database).
  void start();
  // Counter + 1; the bar shows counter / 26 as a rounded percentage, at
  // most 100.
  void step();

  int counter() const { return counter_; }
  static int percent(int counter);

 private:
  Ui& ui_;
  int counter_ = 1;
};

}  // namespace upgrade
