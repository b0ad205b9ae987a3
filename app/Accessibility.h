#pragma once

namespace velunor::app {

// Teaches the accessibility framework how the window's own kinds of control
// present themselves to screen readers. Call it before the first of them is
// created: an object's interface is made once, on the first question about it.
void InstallAccessibleInterfaces();

} // namespace velunor::app
