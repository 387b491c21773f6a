#pragma once

// The command line's argument reader lives in the core, where the running program reads the
// commands handed to it with the same rules.
#include "core/commands/command_args.h"

namespace dw::cli {

using dw::Args;
using dw::isoDate;
using dw::parseIsoDate;
using dw::parseTimeArgument;
using dw::UsageError;

} // namespace dw::cli
