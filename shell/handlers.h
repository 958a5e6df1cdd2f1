// Binding of the layouts' handler names to the platform's handlers.
#pragma once

namespace kesto::shell {

// Registers every window handler under the name the layouts give it (ui::RegisterHandler).
void BindHandlers();

}  // namespace kesto::shell
