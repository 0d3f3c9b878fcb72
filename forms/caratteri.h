#pragma once

namespace forms {

// The fonts the windows and the pages name (the system's dialog font, Arial) stand in for
// metric twins the system has when it lacks them, as Wine does without Microsoft's fonts: there
// Qt's last resort can be a font whose text line edits never draw, so every box looked empty.
// Where the named font exists nothing changes. Call once, after the application is made.
void sostituisciCaratteriMancanti();

}  // namespace forms
