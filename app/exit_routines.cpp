#include "app/exit_routines.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace app {
namespace {

std::vector<ExitRoutine>& exitRoutines() {
    static std::vector<ExitRoutine> routines;
    return routines;
}

}  // namespace

void registerExitRoutine(ExitRoutine routine) {
    auto& routines = exitRoutines();
    if (routine != nullptr && std::find(routines.begin(), routines.end(), routine) == routines.end()) {
        routines.push_back(routine);
    }
}

void runExitRoutines() {
    // Taken out of the list first: a routine that ends the program cannot run one twice.
    const auto routines = std::exchange(exitRoutines(), {});
    for (const auto routine : routines) {
        routine();
    }
}

void discardExitRoutines() { exitRoutines().clear(); }

}  // namespace app
