#include "commands.h"
#include "cli_support.h"

namespace taliven::cli {

int RunQq(const Words&) { throw EngineError("not built yet"); }

}  // namespace taliven::cli
