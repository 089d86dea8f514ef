#include "platform/framework/CWnd.h"
