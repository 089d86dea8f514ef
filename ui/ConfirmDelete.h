#pragma once

// The question asked before items are removed from a group, as a message box:
// the question's texts in order, then the items' paths, one a line.

#include "store/DocumentOperations.h"

// Asks the question in a message box of its style; returns the answer.
int AskConfirmDelete(const CDeleteQuestion& question);
