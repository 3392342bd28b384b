#include "db/connection_factory.h"
#include "db/embedded.h"
#include "db/odbc.h"

namespace db {
namespace {

// The client library's own text, after a line that names the settings file
// and what in it leads to no provider.
std::string unknown_provider_text(const Settings& settings) {
  return unknown_provider_cause(settings) + "\nProvider cannot be found. It may not be properly installed.";
}

class BackendFactory final : public ConnectionFactory {
 public:
  std::unique_ptr<Connection> make(const Settings& settings, std::string_view catalogue) override {
    switch (backend_for(settings.provider)) {
      case Backend::Embedded: return embedded_.connect(settings, catalogue);
      case Backend::Odbc: return make_odbc_connection(settings, catalogue);
      case Backend::Unknown: break;
    }
    return make_unavailable_connection(unknown_provider_text(settings));
  }

 private:
  EmbeddedServers embedded_;
};

}  // namespace

std::unique_ptr<ConnectionFactory> make_backend_factory() { return std::make_unique<BackendFactory>(); }

}  // namespace db
