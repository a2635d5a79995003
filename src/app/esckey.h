#pragma once

namespace orvix {

// Whether Esc is down right now: the key's real state where the platform tells it (X11,
// Windows), otherwise as last seen by the program's own windows.
bool EscKeyDown();

// Starts watching the program's own key events, for platforms that can't be asked.
void WatchEscKey();

} // namespace orvix
