#pragma once
// How the windows run their modal dialogs: exec() for real, a stand-in in
// tests that inspects or answers the dialog without blocking.

#include <QDialog>

#include <functional>

using ModalRunner = std::function<int(QDialog&)>;

inline int runModalDefault(QDialog& dialog)
{
    return dialog.exec();
}
