#pragma once

// What the socket channel asks of the web access service before it takes a
// peer's bytes: how long a peer has for its request, and whether an upload
// may land and how large it may grow. A listener without a policy keeps the
// default deadline and refuses every upload.

#include "platform/base/WinTypes.h"

class CString;

class CWAChannelPolicy {
public:
    virtual ~CWAChannelPolicy() = default;

    // ms from the connection to the end of its request lines; an upload has
    // this for its first line and then as long as its bytes take at
    // CWAClientSocket::MIN_UPLOAD_RATE.
    virtual DWORD GetRequestDeadline() const = 0;
    // The most bytes one upload may hold, packed or unpacked.
    virtual ULONGLONG GetUploadLimit() const = 0;
    // Whether the upload of an INIT_UPL line (its sizes as announced; a packed
    // size of 0: not packed; a raw size of 0 with a packed one: not told) may
    // be received as strUplPath (<ID>.upl): nullptr when it may, else the
    // error text for the peer.
    virtual LPCTSTR CheckUpload(const CString& strUplPath, ULONGLONG nRawSize, ULONGLONG nPackedSize) const = 0;
};
