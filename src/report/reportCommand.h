#pragma once
// "tlvdb report": a period's consignment reports and statements from a script.

#include "export/tlvdbCommand.h"

// report FILE PERIOD-TITLE OUTDIR [ARTISAN-NO]
TlvdbCommand tlvdbReportCommand();
