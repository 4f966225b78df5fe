#pragma once
// The whole database as JSON (UTF-8), for scripts: what `tlvdb dump` prints.

#include <QByteArray>

class AppState;

// {"version": N, "artisans": [...], "sheets": [...], "curPeriod": N,
//  "periods": [...]}; every other value is a JSON string, in list order.
QByteArray databaseJson(const AppState& st);
