#pragma once
// The tlvdb commands of the artisans' account: balances, payouts and the
// accountant's books.

#include "export/tlvdbCommand.h"

#include <vector>

// account, pay and books.
std::vector<TlvdbCommand> tlvdbAccountCommands();
