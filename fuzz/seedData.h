#pragma once
// The seed inputs of every fuzz target, made with the program's own writers.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace seedData {
// target name -> seed files
QMap<QString, QList<QByteArray>> all();
} // namespace seedData
