// LOCAL PLACEHOLDER (not committed): replaced once the document core lands.
#include "Commands.h"
namespace kw::cli {
int RunCreate(Session&) { return kExitFailed; }
int RunImport(Session&) { return kExitFailed; }
int RunCheck(Session&) { return kExitFailed; }
}  // namespace kw::cli
