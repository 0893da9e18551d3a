// Resource identifiers.
#pragma once

// Four 30 x 30 cursor pictures on white, side by side: a red ellipse, a red
// circle, a black arrow and a red arrow.
#define IDB_CURSOR_PICTURES 146
