#include "win/Application.h"

#include <cstdlib>

#include "win/MessageBox.h"
#include "win/Strings.h"

namespace win {

namespace {

Application* g_application = nullptr;

}  // namespace

Application::Application() {
    g_application = this;
}

Application::~Application() {
    if (g_application == this) {
        g_application = nullptr;
    }
}

Application& Application::Current() {
    if (g_application == nullptr) {
        // A program built on this layer defines exactly one global instance.
        std::abort();
    }
    return *g_application;
}

Application* Application::TryCurrent() noexcept {
    return g_application;
}

int Application::Run() {
    try {
        InitInstance();
        return 0;
    } catch (...) {
        ReportException(std::current_exception());
        return 1;
    }
}

HINSTANCE Application::Instance() const noexcept {
    return ::GetModuleHandleA(nullptr);
}

HICON Application::LoadIcon(UINT id) const {
    return ::LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(id));
}

}  // namespace win

// The entry point: everything happens inside the application object.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return win::Application::Current().Run();
}
