#pragma once
// The sales ledger. (Placeholder: an always-empty list until the sales model lands.)

class TReader;
class TWriter;

class TSaleList {
public:
    int count() const { return 0; }
    void writeSales(TWriter& w) const;
    void readSales(TReader& r);
};
