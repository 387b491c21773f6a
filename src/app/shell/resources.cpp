#include "app/shell/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must stand outside any namespace.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace dw {

void initResources() {
    static const bool done = (registerResources(), true);
    (void)done;
}

} // namespace dw
