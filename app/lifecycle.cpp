#include "app/lifecycle.h"

#include <memory>
#include <vector>

#include "app/exit_routines.h"
#include "app/program.h"
#include "gui/unique_handle.h"

namespace app {
namespace {

constexpr wchar_t kHiddenOwnerClass[] = L"lineplayer.hiddenowner";

// One definition of WindowRegistry, with its live window and that window's state.
class RegistryEntry final : public gui::WindowEvents {
public:
    explicit RegistryEntry(const gui::WindowDefinition& ofDefinition) : definition(ofDefinition) {}

    void onCloseRequested() override;
    void onDestroyRequestDispatched() override;
    void onWindowDestroyed() override;

    struct DisabledWindow {
        HWND window;
        bool wasEnabled;
    };

    const gui::WindowDefinition& definition;
    gui::Window* live = nullptr;
    HWND parent = nullptr;
    bool modal = false;
    bool destroyRequested = false;
    std::vector<DisabledWindow> disabledWindows;
};

struct LifecycleState {
    std::vector<std::unique_ptr<RegistryEntry>> registry;
    bool loopStarted = false;
    const gui::WindowDefinition* currentModalWindow = nullptr;
    gui::UniqueWindow hiddenOwner;
    gui::UniqueIcon bigIcon;
    gui::UniqueIcon smallIcon;
    bool oleInitialised = false;
};

LifecycleState& state() {
    static LifecycleState instance;
    return instance;
}

RegistryEntry* entryFor(const gui::WindowDefinition& definition) {
    for (auto& entry : state().registry) {
        if (&entry->definition == &definition) {
            return entry.get();
        }
    }
    return nullptr;
}

bool anyLiveWindow() {
    for (const auto& entry : state().registry) {
        if (entry->live != nullptr) {
            return true;
        }
    }
    return false;
}

bool isLiveWindow(HWND window) {
    for (const auto& entry : state().registry) {
        if (entry->live != nullptr && entry->live->hwnd() == window) {
            return true;
        }
    }
    return false;
}

void giveBackEnabledStates(RegistryEntry& entry) {
    for (const auto& disabled : entry.disabledWindows) {
        if (IsWindow(disabled.window)) {
            EnableWindow(disabled.window, disabled.wasEnabled ? TRUE : FALSE);
        }
    }
    entry.disabledWindows.clear();
    entry.modal = false;
}

void carryOutDestruction(RegistryEntry& entry) {
    entry.destroyRequested = false;
    if (entry.modal) {
        giveBackEnabledStates(entry);
    }
    if (entry.live != nullptr) {
        DestroyWindow(entry.live->hwnd());
    }
}

void RegistryEntry::onCloseRequested() {
    // No close-query handler is bound, so a close always goes on.
    if (modal) {
        giveBackEnabledStates(*this);
    }
    if (live != nullptr) {
        DestroyWindow(live->hwnd());
    }
}

void RegistryEntry::onDestroyRequestDispatched() {
    if (destroyRequested) {
        carryOutDestruction(*this);
    }
}

void RegistryEntry::onWindowDestroyed() {
    // Destroyed by other means while modal (its owner went first): the windows it
    // disabled are given back all the same.
    if (modal) {
        giveBackEnabledStates(*this);
    }
    live = nullptr;
    parent = nullptr;
    destroyRequested = false;
    auto& s = state();
    if (s.currentModalWindow == &definition) {
        s.currentModalWindow = nullptr;  // ends the modal loop run for this window
    }
    if (!anyLiveWindow() && s.loopStarted) {
        PostQuitMessage(0);
    }
}

void dispatch(MSG& message) {
    if (!gui::Window::translateKeys(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Runs until the modal window is gone; a quit request is left in the queue for the main loop.
void runModalLoop() {
    MSG message;
    while (state().currentModalWindow != nullptr) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        if (message.message == WM_QUIT) {
            return;
        }
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));  // put it back for the main loop
                return;
            }
            dispatch(message);
        }
    }
}

LRESULT CALLBACK hiddenOwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createHiddenOwner() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &hiddenOwnerProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kHiddenOwnerClass;
    RegisterClassExW(&windowClass);
    return CreateWindowExW(WS_EX_TOOLWINDOW, kHiddenOwnerClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

HWND ownerFor(const gui::WindowDefinition& definition, HWND parent, bool fullyModal) {
    if (parent != nullptr) {
        return parent;
    }
    if (fullyModal || !definition.showInTaskbar) {
        return state().hiddenOwner.get();
    }
    return nullptr;
}

}  // namespace

void initGuiLayer(Definitions definitions) {
    auto& s = state();
    if (!s.oleInitialised) {
        s.oleInitialised = SUCCEEDED(OleInitialize(nullptr));
    }
    if (!s.hiddenOwner) {
        s.hiddenOwner.reset(createHiddenOwner());
    }
    s.registry.clear();
    for (const auto* definition : definitions) {
        s.registry.push_back(std::make_unique<RegistryEntry>(*definition));
    }
    s.loopStarted = false;
    s.currentModalWindow = nullptr;
}

void shutdownGuiLayer() {
    auto& s = state();
    runExitRoutines();
    s.bigIcon.reset();
    s.smallIcon.reset();
    if (s.hiddenOwner && IsWindow(s.hiddenOwner.get())) {
        s.hiddenOwner.reset();  // the window system destroys the windows it owns with it
    } else {
        s.hiddenOwner.release();
    }
    if (s.oleInitialised) {
        OleUninitialize();
        s.oleInitialised = false;
    }
}

ProgramIcon programIcon() {
    auto& s = state();
    if (!s.bigIcon) {
        HINSTANCE module = GetModuleHandleW(nullptr);
        s.bigIcon.reset(static_cast<HICON>(LoadImageW(module, L"DEFAULT_ICON", IMAGE_ICON, 32, 32, 0)));
        s.smallIcon.reset(static_cast<HICON>(LoadImageW(module, L"DEFAULT_ICON", IMAGE_ICON, 16, 16, 0)));
    }
    return {s.bigIcon.get(), s.smallIcon.get()};
}

HWND hiddenOwnerWindow() { return state().hiddenOwner.get(); }

gui::Window* liveWindow(const gui::WindowDefinition& definition) {
    const auto* entry = entryFor(definition);
    return entry == nullptr ? nullptr : entry->live;
}

bool loadWindow(const gui::WindowDefinition& definition, HWND parent, bool fullyModal) {
    RegistryEntry* entry = entryFor(definition);
    if (entry == nullptr) {
        return false;
    }
    // 1. A live window is brought forward, unless its destruction is pending.
    if (entry->live != nullptr) {
        if (!entry->destroyRequested) {
            HWND window = entry->live->hwnd();
            if (IsIconic(window)) {
                ShowWindow(window, SW_RESTORE);
            } else {
                SetActiveWindow(window);
            }
            return true;
        }
        carryOutDestruction(*entry);
    }
    // 2. A fully modal window never has a parent.
    if (fullyModal) {
        parent = nullptr;
    } else if (parent != nullptr && !isLiveWindow(parent)) {
        return false;
    }
    // 3. The window, its icon and its controls.
    gui::Window* window = gui::Window::create(definition, ownerFor(definition, parent, fullyModal), *entry);
    if (window == nullptr) {
        return false;
    }
    entry->live = window;
    entry->parent = parent;
    const ProgramIcon icon = programIcon();
    window->setIcons(icon.big, icon.small);
    if (!window->createControls()) {
        DestroyWindow(window->hwnd());  // the half-built window is discarded
        return false;
    }
    // 4. Created, moved, resized: each only while the window still exists.
    window->raiseCreated();
    if (entry->live != window) {
        return true;
    }
    window->raiseMoved();
    if (entry->live != window) {
        return true;
    }
    window->raiseResized();
    if (entry->live != window) {
        return true;
    }
    // 5. Shown, which makes it the active window.
    if (definition.visible) {
        window->show();
    }
    if (entry->live == window) {
        window->finishLoading();  // from now on moves and sizes raise their events
    }
    // 6. A fully modal window disables the other top-level windows of the program.
    if (fullyModal && entry->live == window) {
        entry->modal = true;
        for (auto& other : state().registry) {
            if (other.get() != entry && other->live != nullptr && other->parent == nullptr) {
                HWND otherWindow = other->live->hwnd();
                entry->disabledWindows.push_back({otherWindow, IsWindowEnabled(otherWindow) != FALSE});
                EnableWindow(otherWindow, FALSE);
            }
        }
    }
    // 7. The modal loop, for as long as the window lives.
    if (entry->live == window && definition.visible && entry->modal) {
        auto& s = state();
        const auto* outerModalWindow = s.currentModalWindow;
        s.currentModalWindow = &definition;
        runModalLoop();
        s.currentModalWindow = outerModalWindow;
    }
    return true;
}

void loadStartWindow(const gui::WindowDefinition& definition) {
    if (!loadWindow(definition)) {
        fatalFailure(L"The start window cannot be loaded.");
    }
}

void destroyWindow(const gui::WindowDefinition& definition, bool atOnce) {
    RegistryEntry* entry = entryFor(definition);
    if (entry == nullptr || entry->live == nullptr) {
        fatalFailure(L"A window that is not loaded was to be destroyed.");
    }
    entry->destroyRequested = true;
    if (atOnce) {
        carryOutDestruction(*entry);
    } else {
        entry->live->postDestroyRequest();
    }
}

int runMessageLoop() {
    state().loopStarted = true;
    if (!anyLiveWindow()) {
        return 0;
    }
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 0;
        }
        dispatch(message);
    }
}

}  // namespace app
