// CString::LoadString lives apart from the rest of CString: it is the one member
// that needs the resource module, and a program that never loads strings links
// without it.

#include "platform/base/CString.h"

// The resource module's string-table calls.
int LoadString(HINSTANCE hInstance, UINT uID, LPTSTR lpBuffer, int cchBufferMax);
HINSTANCE AfxGetResourceHandle();

BOOL CString::LoadString(UINT nID)
{
    // LoadString cuts a string that does not fit, so grow the buffer until one
    // read leaves room to spare. String-table entries are far below the cap.
    constexpr int INITIAL_BUFFER = 256;
    constexpr int MAX_BUFFER = 1 << 20;
    HINSTANCE hInstance = AfxGetResourceHandle();
    for (int cchBuffer = INITIAL_BUFFER;; cchBuffer *= 2) {
        int nLength = ::LoadString(hInstance, nID, GetBuffer(cchBuffer - 1), cchBuffer);
        if (nLength < cchBuffer - 4 || cchBuffer >= MAX_BUFFER) {
            ReleaseBuffer(nLength > 0 ? nLength : 0);
            return nLength > 0 ? TRUE : FALSE;
        }
    }
}
