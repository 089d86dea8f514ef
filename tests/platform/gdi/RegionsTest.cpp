#include "platform/gdi/Regions.h"

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"

#include <gtest/gtest.h>

TEST(RegionsTest, Placeholder)
{
}
