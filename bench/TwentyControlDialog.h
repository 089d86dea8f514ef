#pragma once

// The reference form of the UI benchmarks: a dialog of twenty standard
// controls, built the same way by every program that times against it.

#include "platform/window/Dialog.h"

// A form of 20 controls: five labels with edits, a group of three radio
// buttons with its box, two check boxes, a list box, a drop-down list, OK and Cancel.
DialogTemplate TwentyControlTemplate();

// The form made visible, its list and drop-down list filled; NULL when it could not be made.
HWND MakeTwentyControlDialog();
