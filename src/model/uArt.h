#pragma once
// Artisans and the artisan list with its section of the database file.
// (Placeholder: an always-empty list until the inventory model lands.)

class TReader;
class TWriter;

class TArtList {
public:
    int count() const { return 0; }
    void writeArtisans(TWriter& w) const;
    void readArtisans(TReader& r, int dbVersion, int& totProdCount);
};
