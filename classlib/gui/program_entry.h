// The frame of a program's entry point.
#pragma once
#include <functional>

// Starts the visual layer, runs body (registering classes, creating the
// forms, the message loop) and shuts the layer down. An exception that
// escapes ends the program with a message box showing its message (EAbort
// silently). Returns the exit code: 0, or 1 after such an exception.
int RunProgram(const std::function<void()>& body) noexcept;

// Shows the exception being handled (call from a catch block) in a message
// box through the interaction seam, captioned with the application's title
// while there is an application. Never throws.
void ShowFatalException() noexcept;
