// How the program ends, seen from outside: each case runs in a child process (this same
// test program, started again with LINEPLAYER_CHILD naming the case).
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdlib>
#include <string>

#include "app/exit_routines.h"
#include "app/lifecycle.h"
#include "app/program.h"

namespace {

gui::WindowDefinition unloaded = {.title = "never loaded",
                                  .width = 100,
                                  .height = 100,
                                  .frame = gui::Frame::FixedWithCaption,
                                  .minimizeBox = false,
                                  .maximizeBox = false,
                                  .showInTaskbar = true,
                                  .visible = true,
                                  .escCloses = true};
const std::array<const gui::WindowDefinition*, 1> kDefinitions = {&unloaded};

std::wstring markerPath() {
    wchar_t directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    return std::wstring(directory) + L"lineplayer-exit-routine-" + std::to_wstring(GetCurrentProcessId()) + L".ran";
}

// In the child: the exit routine leaves a marker file named after the parent's process id.
std::wstring childMarkerPath() {
    wchar_t parent[32] = L"";
    GetEnvironmentVariableW(L"LINEPLAYER_PARENT", parent, 32);
    wchar_t directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    return std::wstring(directory) + L"lineplayer-exit-routine-" + parent + L".ran";
}

void leaveMarker() {
    HANDLE file = CreateFileW(childMarkerPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
}

BOOL CALLBACK closeMessageBoxOfProcess(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    if (owner == static_cast<DWORD>(processId) && std::wstring(className) == L"#32770") {
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

struct ChildResult {
    DWORD exitCode;
    bool exitRoutineRan;
};

ChildResult runChild(const wchar_t* childCase) {
    DeleteFileW(markerPath().c_str());
    SetEnvironmentVariableW(L"LINEPLAYER_CHILD", childCase);
    SetEnvironmentVariableW(L"LINEPLAYER_PARENT", std::to_wstring(GetCurrentProcessId()).c_str());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=EndChild.Run";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(L"LINEPLAYER_CHILD", nullptr);
    EXPECT_TRUE(started);
    if (!started) {
        return {0, false};
    }
    // The fatal end shows an error box first: answer it, as a user would.
    for (int i = 0; i < 600 && WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT; ++i) {
        EnumWindows(&closeMessageBoxOfProcess, static_cast<LPARAM>(process.dwProcessId));
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const bool ran = GetFileAttributesW(markerPath().c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileW(markerPath().c_str());
    return {exitCode, ran};
}

TEST(EndChild, Run) {
    wchar_t childCase[32] = L"";
    if (GetEnvironmentVariableW(L"LINEPLAYER_CHILD", childCase, 32) == 0) {
        GTEST_SKIP() << "runs only as a child of the end-of-program tests";
    }
    app::initGuiLayer(kDefinitions);
    app::registerExitRoutine(&leaveMarker);
    const std::wstring which = childCase;
    if (which == L"fatal") {
        app::destroyWindow(unloaded);  // not loaded: a fatal failure
    } else {
        app::endProgram(5);
    }
    FAIL() << "the program should have ended";
}

TEST(ProgramEnd, FatalFailureEndsWithMinusOneWithoutExitRoutines) {
    const auto result = runChild(L"fatal");
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFU);
    EXPECT_FALSE(result.exitRoutineRan);
}

TEST(ProgramEnd, EndProgramRunsTheExitRoutinesAndEndsWithItsCode) {
    const auto result = runChild(L"end");
    EXPECT_EQ(result.exitCode, 5U);
    EXPECT_TRUE(result.exitRoutineRan);
}

}  // namespace
