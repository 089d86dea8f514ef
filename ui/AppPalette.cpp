#include "ui/AppPalette.h"

CPalette* g_appPalette = nullptr;
