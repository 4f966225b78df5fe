#pragma once
// Products and product lists. (Placeholder until the inventory model lands.)

#include <QList>

class TProduit;

class TProdList {
public:
    QList<TProduit*> items; // not owned: the artisan owns its products
};
