#pragma once

// The form folder lists and location fields keep: lower case with a final "\\".

#include "platform/base/CString.h"

CString ListFolderForm(const CString& strFolder);
