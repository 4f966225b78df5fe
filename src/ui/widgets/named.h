#pragma once
// Creates a child widget under the object name that tests and the help line
// find it by.

#include <QString>

#include <utility>

template <typename W, typename... Args>
W* named(const char* name, Args&&... args)
{
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}
