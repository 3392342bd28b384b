#include "window_fake_run.h"

#include <cmath>

namespace window_test {

int progress_percent(int counter) { return static_cast<int>(std::lround(counter * 100.0 / 26)); }

int FakeRun::operator()(upgrade::Ui& ui) {
  ++runs_;
  ui.process_messages();
  for (const Tenant& tenant : tenants_) {
    ui.set_caption(tenant.name + "/" + kTitle);
    if (!tenant.connects) {
      ui.show_dialog(upgrade::DialogKind::Error, "Keine Verbindung zu " + tenant.name);
      continue;
    }
    upgrade_tenant(ui, tenant);
  }
  ui.set_caption(kTitle);
  ui.show_dialog(upgrade::DialogKind::Information, kCompletion);
  ui.set_progress(0);
  ui.request_close();
  return 0;
}

void FakeRun::upgrade_tenant(upgrade::Ui& ui, const Tenant& tenant) {
  ui.process_messages();
  ui.set_wait_cursor(true);
  ui.set_progress(1);
  for (int step = 1; step <= tenant.progress_steps; ++step) {
    ui.set_progress(progress_percent(step + 1));
    if (after_step) after_step(ui, tenant.name, step);
  }
  ui.set_wait_cursor(false);
  ui.set_progress(100);
  ui.set_progress(0);
}

}  // namespace window_test
