#pragma once

// The ids of the web access commands, the row order of the command word
// table: the server makes commands of them and a profile grants them.

enum : int {
    WA_CMD_NONE = 0, // names no command; no profile allows it
    WA_CMD_ATTR,
    WA_CMD_DOWN2,
    WA_CMD_EDIR,
    WA_CMD_ETREE,
    WA_CMD_LOGIN,
    WA_CMD_LOGOUT,
    WA_CMD_PAGE,
    WA_CMD_TIPV,
    WA_CMD_UPL,
    WA_CMD_VUPL,
    WA_CMD_WDIR,
    WA_CMD_WFIND,
    WA_CMD_WTREE,
};
