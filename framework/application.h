// The application object: instance initialisation, the message pump with its idle
// step and pre-translation, and the exit step. One per process.
#pragma once

#include "windows.h"

namespace fw {

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    static Application *Current();

    // Returns FALSE to skip the message loop and go straight to the exit step.
    virtual BOOL InitInstance() { return TRUE; }
    // Returns the process exit code.
    virtual int ExitInstance();
    // Returns TRUE while more idle work remains.
    virtual BOOL OnIdle(LONG idleCount);
    virtual BOOL PreTranslateMessage(MSG *msg);
    // Messages without a window; TRUE when handled.
    virtual BOOL ProcessThreadMessage(MSG *msg);
    virtual BOOL IsIdleMessage(const MSG *msg);

    // Takes one message and dispatches it; FALSE when it was the quit message.
    BOOL PumpMessage();
    // The framework's own loop: idle while nothing waits, pump until quit.
    virtual int Run();

    const MSG &CurrentMessage() const { return currentMessage_; }

protected:
    MSG currentMessage_{};
    UINT lastMouseMessage_ = 0;
    POINT lastMousePoint_{};
};

// The framework's main routine: InitInstance, then Run or straight to ExitInstance.
int FrameworkMain();

} // namespace fw
