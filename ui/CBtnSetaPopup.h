#pragma once

// The arrow buttons of the popup windows: an auto-repeat arrow that the
// popup chain's mouse routing finds in the popup hit table. It leaves the
// table when it is destroyed, before it stops repeating.

#include "ui/CBtnSeta.h"

class CBtnSetaPopup : public CBtnSeta {
    DECLARE_DYNAMIC(CBtnSetaPopup)
    DECLARE_MESSAGE_MAP()

public:
    CBtnSetaPopup() = default;

protected:
    void OnDestroy();
};
