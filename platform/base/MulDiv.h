#pragma once

#include "platform/base/WinTypes.h"

// nNumber * nNumerator / nDenominator, computed in 64 bits and rounded to the
// nearest integer (halves away from zero). -1 when nDenominator is 0 or the
// result does not fit in an int.
int MulDiv(int nNumber, int nNumerator, int nDenominator);
