#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Runtime.h"

// The start-up sequence, from the process's entry to the event loop and back.

// The program's modules, in the order in which they are initialised.
std::vector<platform::Initializer> ProgramInitializers();

// The process entry's work: its result is the exit status.
int RunProgram(int argc, char** argv);

void Main_();
void EarlyStartup_();
void InitFileTypes_();
void NewAppInstance_();
void ApplicationAddMenuHandlers_();
void LateStartup_();
void MakeDefaultView_();

// Runs the function; a RuntimeException that escapes it is the result, and any
// other exception passes on.
std::shared_ptr<platform::RuntimeException> CallFunctionWithExceptionHandling_(
    const std::function<void()>& function);
