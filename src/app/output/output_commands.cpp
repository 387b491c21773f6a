#include "app/output/output_commands.h"

#include "app/output/export_commands.h"

namespace dw {

void installOutputCommands(MainWindow& window, AppState& state) {
    new ExportCommands(window, state);
}

} // namespace dw
