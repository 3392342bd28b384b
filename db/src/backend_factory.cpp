#include "db/connection_factory.h"
#include "db/odbc.h"

namespace db {
namespace {

class BackendFactory final : public ConnectionFactory {
 public:
  std::unique_ptr<Connection> make(const Settings& settings, std::string_view catalogue) override {
    switch (backend_for(settings.provider)) {
      case Backend::Embedded:
        return make_unavailable_connection("The embedded server is not part of this build yet.");
      case Backend::Odbc:
        return make_odbc_connection(settings, catalogue);
      case Backend::Unknown: break;
    }
    return make_unavailable_connection("Provider cannot be found. It may not be properly installed.");
  }
};

}  // namespace

std::unique_ptr<ConnectionFactory> make_backend_factory() { return std::make_unique<BackendFactory>(); }

}  // namespace db
