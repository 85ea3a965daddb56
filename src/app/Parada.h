#pragma once
// A process held at a chosen step: with the environment variable
// TOBAL31_PARADA naming `paso`, the process stops itself (SIGSTOP) there
// until it is continued. Tests use it to put another writer's change at an
// exact moment of a run, so that a race is certain rather than likely.

#include <string_view>

namespace tobal {

void Parada(std::string_view paso);

}  // namespace tobal
