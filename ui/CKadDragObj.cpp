#include "ui/CKadDragObj.h"

IMPLEMENT_DYNAMIC(CKadDragObj, CObject)
