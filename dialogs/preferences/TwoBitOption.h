#pragma once

// Data exchange for a value of bits 1 and 2 shown as two check boxes: 1
// checks the first, 2 the second, 3 both, any other value neither; read back,
// the value is the sum of the checked boxes' bits.

class CDataExchange;

void DDX_TwoBitOption(CDataExchange* pDX, int nIDFirst, int nIDSecond, int& nValue);
