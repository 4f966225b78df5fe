// The message of the AppError an operation raises, for tests that check the
// exact text a user would see.
#pragma once

#include "core/appError.h"

#include <functional>

// Empty when f raised nothing.
inline QString errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.message();
    }
    return QString();
}
