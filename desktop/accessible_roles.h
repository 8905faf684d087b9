#pragma once

// Gives the program's windows and panels the roles a screen reader expects:
// a window is a window (a plain widget would be a mere container, and the
// screen reader would look for the active window elsewhere), and a panel
// that controls lie on is a panel (a frame would count as a window of its
// own, which the screen reader takes for an inactive one and ignores what
// lies on it). Installed once, by the first window made.
void installAccessibleRoles();
