#pragma once
// Rules every window of the program keeps, whoever built it (our forms, the
// message boxes, the error reports), so that nobody is left stuck.

class QApplication;

namespace taliven {

// Installs the application-wide watch that keeps the rules:
// - A window given no minimise box is never left minimised: a window manager
//   may offer minimising anyway, and a modal window gone from the screen
//   leaves the main window dead. It is shown again at once, unless it closed
//   itself on being minimised (the calendar does).
// - The keyboard focus shows from the moment a window opens, not only after
//   the first Tab, so Enter never answers for a button nobody can see chosen.
void InstallWindowRules(QApplication& app);

}  // namespace taliven
