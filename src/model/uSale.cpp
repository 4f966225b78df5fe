#include "model/uSale.h"

#include "core/valueStream.h"

void TSaleList::writeSales(TWriter& w) const
{
    w.writeListBegin();
    w.writeListEnd();
}

void TSaleList::readSales(TReader& r)
{
    r.readListBegin();
    while (!r.endOfList())
        r.readString();
    r.readListEnd();
}
