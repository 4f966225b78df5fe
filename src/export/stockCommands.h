#pragma once
// The tlvdb command of the shelves: the stock the books expect, and what has
// not sold since a day.

#include "export/tlvdbCommand.h"

// stock FILE [ARTNO] [--unsold-since YYMMDD]
TlvdbCommand tlvdbStockCommand();
