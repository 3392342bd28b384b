#include "platform/shell_links.h"

namespace platform {

// There are no shell-link files outside Windows.
ShellLinks* system_shell_links() { return nullptr; }

}  // namespace platform
