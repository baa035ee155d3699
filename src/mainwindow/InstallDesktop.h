#pragma once

#include <optional>

// "tardello --install-desktop" puts the menu entry and the icon where the
// desktop finds them; "--uninstall-desktop" takes them away with the
// start-at-login entry. The exit code of the command, or nullopt when the
// arguments ask for none of them (a normal start).
// Needs no display: it runs before, and instead of, the program's own start.
std::optional<int> RunDesktopCommand(int argc, char **argv);
