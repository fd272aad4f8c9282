#include "app/program.h"

#include <new>
#include <string>

#include "app/exit_routines.h"
#include "lines/line_table.h"

namespace app {
namespace {

int quitValue = 0;

[[noreturn]] void onOutOfMemory() { fatalFailure(L"Out of memory."); }

}  // namespace

void releaseLinePrefix() {
    lines::currentLinePrefix.clear();
    lines::currentLinePrefix.shrink_to_fit();
}

int startProgram(Definitions definitions, const gui::WindowDefinition& startWindow) {
    std::set_new_handler(&onOutOfMemory);
    initGuiLayer(definitions);
    registerExitRoutine(&releaseLinePrefix);
    loadStartWindow(startWindow);
    quitValue = runMessageLoop();
    return 0;
}

int finishProgram() {
    shutdownGuiLayer();
    return quitValue;
}

void endProgram(int exitCode) {
    shutdownGuiLayer();
    ExitProcess(static_cast<UINT>(exitCode));
}

void fatalFailure(const wchar_t* what) {
    const std::wstring text = std::wstring(L"The program cannot go on and will end.\n\n") + what;
    MessageBoxW(nullptr, text.c_str(), L"lineplayer", MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    discardExitRoutines();
    endProgram(-1);
}

}  // namespace app
