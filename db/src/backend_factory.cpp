#include "db/connection_factory.h"

namespace db {
namespace {

class BackendFactory final : public ConnectionFactory {
 public:
  std::unique_ptr<Connection> make(const Settings& settings, std::string_view) override {
    switch (backend_for(settings.provider)) {
      case Backend::Embedded:
        return make_unavailable_connection("The embedded server is not part of this build yet.");
      case Backend::Odbc:
        return make_unavailable_connection("The ODBC backend is not part of this build yet.");
      case Backend::Unknown: break;
    }
    return make_unavailable_connection("Provider cannot be found. It may not be properly installed.");
  }
};

}  // namespace

std::unique_ptr<ConnectionFactory> make_backend_factory() { return std::make_unique<BackendFactory>(); }

}  // namespace db
