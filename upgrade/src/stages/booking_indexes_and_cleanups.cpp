// Stage I: booking indexes, bank-book conversion and data clean-ups.
#include "upgrade/stages.h"

namespace upgrade {

void booking_indexes_and_cleanups(Tenant&) {}

}  // namespace upgrade
