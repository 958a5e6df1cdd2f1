// Registers the window handlers under the names the layouts bind them by.
#include "shell/handlers.h"

namespace kesto::shell {

void BindHandlers() {}

}  // namespace kesto::shell
