#pragma once
// The periods. (Placeholder: an always-empty list until the sales model lands.)

class TReader;
class TWriter;

class TRepList {
public:
    int curPeriod = -1;
    int count() const { return 0; }
    void writeReports(TWriter& w) const;
    void readReports(TReader& r);
};
