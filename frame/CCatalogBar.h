#pragma once

// CCatalogBar: the main frame's catalog bar, six picture buttons in a row.
// No command answers them, so they show disabled.

#include "platform/framework/CDialogBar.h"

// FIXME: picture buttons on the interface kit's brushed dialog bar once they exist.
class CCatalogBar : public CDialogBar {
public:
    CCatalogBar() = default;
};
