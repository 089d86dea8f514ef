#pragma once

// The picture the content reader holds (the last ReadFileContent of this
// thread that found one), rendered to fit nWidth x nHeight and written as a
// PNG, without a window: a picture that fits is drawn at its size at the top
// left; a larger one is scaled by the whole percent that fits both sides
// (halftone), keeping its proportions. The margins are white.

#include "platform/base/WinTypes.h"

// 1 when the PNG was written at pszPath (a program path), else 0.
int ConvertImageToPng(LPCTSTR pszPath, int nWidth, int nHeight);
