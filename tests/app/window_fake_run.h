// A stand-in for the run driver: it drives the Ui in the order the real run
// does (pump, per tenant caption, frame with wait cursor and progress steps,
// completion message, close request), with hooks where a test needs a
// dialog, a close request or a failure in the middle of a tenant.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "upgrade/ui.h"

namespace window_test {

inline const std::string kTitle = "Corvena verdalis tessaro - SQL Update";
inline const std::string kCompletion = "UPDATE erfolgreich ausgef\xc3\xbchrt!";

struct Tenant {
  std::string name;
  bool connects = true;
  int progress_steps = 71;
};

// The percentage shown after a progress step that brought the counter to
// `counter` (of 26).
int progress_percent(int counter);

class FakeRun {
 public:
  explicit FakeRun(std::vector<Tenant> tenants) : tenants_(std::move(tenants)) {}

  // Called after each progress step of a tenant (step 1 is the first).
  std::function<void(upgrade::Ui&, const std::string& tenant, int step)> after_step;

  int runs() const { return runs_; }
  int operator()(upgrade::Ui& ui);

 private:
  void upgrade_tenant(upgrade::Ui& ui, const Tenant& tenant);

  std::vector<Tenant> tenants_;
  int runs_ = 0;
};

}  // namespace window_test
