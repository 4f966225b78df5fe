#include "model/uRep.h"

#include "core/valueStream.h"

void TRepList::writeReports(TWriter& w) const
{
    w.writeInteger(curPeriod);
    w.writeListBegin();
    w.writeListEnd();
}

void TRepList::readReports(TReader& r)
{
    curPeriod = r.readInteger();
    r.readListBegin();
    while (!r.endOfList())
        r.readString();
    r.readListEnd();
}
