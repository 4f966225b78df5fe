#include "model/uArt.h"

#include "core/valueStream.h"

void TArtList::writeArtisans(TWriter& w) const
{
    w.writeListBegin();
    w.writeListEnd();
}

void TArtList::readArtisans(TReader& r, int, int& totProdCount)
{
    totProdCount = 0;
    r.readListBegin();
    while (!r.endOfList())
        r.readString();
    r.readListEnd();
}
