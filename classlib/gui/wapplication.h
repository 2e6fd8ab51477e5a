#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/core/wobject.h"

// Event data of StartEvent, RunEvent and EndEvent.
struct WApplicationEventData {
    int exitCode = 0;
    bool abort = false;  // set during StartEvent: the message loop is not run
};

// The message loop of the program's one thread: runs until the quit message.
class WMessageLoop {
public:
    // Runs until PostQuitMessage; returns the quit code. A quit posted before
    // the loop runs ends it as soon as the waiting events are handled.
    static int Run();
    // Ends the running loop (or the next one) with code, once the event being
    // handled now is done.
    static void PostQuitMessage(int code);
    static bool IsQuitPosted();
    static int GetQuitCode();
    // Tests: forget a posted quit message.
    static void ResetForTesting();
};

// The one line on standard error of a program started where no window can be
// opened (no display); the program then ends with -1.
void WriteNoDisplayLine(const char* programName);

// The application object: fires StartEvent, RunEvent unless the start set the
// abort flag, then EndEvent, and returns the exit code. Handlers take a
// WApplicationEventData.
class WExeApplication : public WObject {
public:
    WExeApplication();
    ~WExeApplication() override;
    WExeApplication(const WExeApplication&) = delete;
    WExeApplication& operator=(const WExeApplication&) = delete;

    // The program's entry: makes the toolkit's application object when there
    // is none yet and fires the three events. The command line is kept for
    // the program (GetArguments) and not passed on to the toolkit. Where no
    // window can be opened (no display), says so in one line on standard
    // error and ends the process with -1.
    int Run(int argc, char** argv);
    // The command line without the program's name.
    const std::vector<std::string>& GetArguments() const { return arguments_; }

    // The library's component initialisers and finalisers, run by the
    // generated start and end handlers.
    static void AddComponent(std::function<void()> initialise, std::function<void()> finalise);
    static void RunComponentInitialisers();
    static void RunComponentFinalisers();

    // The backend's application state; defined in the backend's headers.
    struct Native;

private:
    // The command line without the program's name, for GetArguments.
    void KeepArguments(int argc, char** argv);
    // StartEvent, RunEvent unless the start aborts, EndEvent; the exit code.
    int DispatchStartRunEnd();

    std::unique_ptr<Native> native_;
    std::vector<std::string> arguments_;
};
