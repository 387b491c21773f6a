#pragma once

namespace dw {

// Registers the program's icons and help page. They are compiled into a static library,
// whose registration the linker would otherwise drop; calling this more than once is
// harmless.
void initResources();

} // namespace dw
