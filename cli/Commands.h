#pragma once
// The three commands. Each returns its exit code and has written what it has to say.
#include "Session.h"

namespace kw::cli {

int RunCreate(Session& session);
int RunImport(Session& session);
int RunCheck(Session& session);

}  // namespace kw::cli
