#include "core/appState.h"

AppState::AppState() = default;
