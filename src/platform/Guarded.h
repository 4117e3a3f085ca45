#pragma once
// Exceptions never cross Qt's event loop: every handler entered from Qt runs its
// body through Guarded, which hands any exception to the program's one error
// handler (the application installs it; it shows the error box).
#include <QString>
#include <exception>
#include <functional>

// Gets the text the user is to read; nullptr restores the default (a warning on stderr).
using TErrorReporter = std::function<void(const QString& Text)>;
void SetErrorReporter(TErrorReporter Reporter);

// Reports an exception that reached an event handler.
void HandleException(const std::exception& E);
void HandleUnknownException();

// Runs an event handler body; any exception ends up in HandleException.
template <class F> void Guarded(F&& Body) {
    try {
        Body();
    } catch (const std::exception& E) {
        HandleException(E);
    } catch (...) {
        HandleUnknownException();
    }
}
