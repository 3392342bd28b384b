#include "db/connection_factory.h"
#include "db/embedded.h"
#include "db/odbc.h"

namespace db {
namespace {

// The client library's own text; a missing settings file, whose default
// provider is the cause, is named on a line before it.
std::string unknown_provider_text(const Settings& settings) {
  std::string text = "Provider cannot be found. It may not be properly installed.";
  if (!settings.file_found) text = "Einstellungen nicht gefunden: " + settings.file.string() + "\n" + text;
  return text;
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
