#pragma once
// The small controls every window builds the same way: flat buttons with a
// hint, and read-only grids that select whole rows.

#include "ui/widgets/named.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>
#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>
#include <QToolButton>

#include <initializer_list>

inline QToolButton* speedButton(QWidget* parent, const char* name, const QString& hint, const QString& text,
                                QSize minimum = {})
{
    auto* b = named<QToolButton>(name, parent);
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->setText(text);
    if (minimum.isValid())
        b->setMinimumSize(minimum);
    return b;
}

// Columns of the given widths, titled when titles are given.
inline QTableWidget* rowGrid(QWidget* parent, const char* name, std::initializer_list<int> widths,
                             const QStringList& titles = {})
{
    auto* g = named<QTableWidget>(name, parent);
    g->setColumnCount(int(titles.isEmpty() ? widths.size() : titles.size()));
    if (!titles.isEmpty())
        g->setHorizontalHeaderLabels(titles);
    int c = 0;
    for (int w : widths)
        g->setColumnWidth(c++, w);
    g->verticalHeader()->hide();
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return g;
}

// A dialog used from the keyboard: "Annuler" (and Escape) beside its Ok or
// "Fermer" in the row of buttons, Return applies, and the focus starts in
// the first field. Returns the "Annuler" button.
inline QPushButton* keyboardDialog(QDialog* dlg, QPushButton* ok, QBoxLayout* row, QWidget* first)
{
    auto* cancel = named<QPushButton>("CancelBtn", QStringLiteral("Annuler"), dlg);
    QObject::connect(cancel, &QPushButton::clicked, dlg, &QDialog::reject);
    row->insertWidget(row->indexOf(ok), cancel);
    cancel->setAutoDefault(false);
    ok->setDefault(true);
    first->setFocus();
    return cancel;
}

// The hourglass while a command works.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
