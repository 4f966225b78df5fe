#include "boutique/appState.h"

AppState::AppState()
{
    // "-[tout]-" spans the ledger as it stands, before anything reads it.
    repList.followLedger(&saleList);
}
