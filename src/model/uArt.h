#pragma once
// Artisans and the artisan list: the artisan record, the artisan section of the
// database file (each artisan followed by its product section), numbering, the
// display texts and the model half of the artisans window's operations.
//
// Ownership: the artisan list owns its artisans (unique_ptr); an artisan's
// products are shared (see uProd.h), so prodList may keep using the current
// artisan's products even after the artisan list is cleared or reloaded.

#include "model/uProd.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TReader;
class TWriter;

// A craftsperson who consigns products: number, contact details, comment,
// import note and own product list.
class TArtisan {
public:
    QString artNo;
    QString nom;
    QString prenom;
    QString adresse;
    QString ville;
    QString CP;
    QString tel;
    QString courriel;
    QString varData; // empty, or the comma list: import file name, index in it
    QString comment;
    TProdList products;

    // The ten fields, each followed by REC_SEP (ten separators, the last at the end).
    QString artRecord() const;
    void setArtRecord(const QString& record);
    // recordProblem of the ten fields, owner "Artisan <artNo>".
    QString storeProblem() const;
    QList<RecordField> recordFields() const;

    // Six Windows-1252 characters: the first three of nom and of prenom (an
    // accented letter outside that set as its base letter, anything else "_"),
    // each half padded with "_" to three, so a sale line's key keeps its fixed
    // positions.
    QString artTag() const;
};

// The ordered list of artisans (artList, impArtList) with its file section and
// its look-ups by position and by number.
class TArtList {
public:
    TArtList() = default;
    TArtList(const TArtList&) = delete;
    TArtList& operator=(const TArtList&) = delete;
    // Takes other's artisans whole (a list read aside, kept once checked);
    // other is left empty.
    TArtList& operator=(TArtList&& other) noexcept;

    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    // Fetch by position; the artisan becomes current. Raises AppError
    // "List index out of bounds (%d)" outside 0..count-1.
    TArtisan& at(int index);
    const TArtisan& at(int index) const;
    TArtisan* current() const { return m_current; }
    // Appends a new empty artisan; it becomes current.
    TArtisan& append();
    void clear();
    // Removes the artisan at index (and its products); none is current then.
    // AppError "List index out of bounds (%d)" outside the list.
    void removeAt(int index);

    // Artisan section of the database file.
    void writeArtisans(TWriter& w) const;
    // Replaces the list by the section read; products are read only when
    // dbVersion > 1; totProdCount receives the number of products read. On a
    // read error the artisans read so far stay in the list.
    void readArtisans(TReader& r, int dbVersion, int& totProdCount);

    static QString artNoFor(int n) { return numberText(n); }
    // -1 for an empty number or when no artisan has it.
    int indexOfArtNo(const QString& number) const;
    QString displayName(int index) const;   // "Verrier Art (002)"
    QString tagLine(int index) const;       // "VerArt    *1"
    // displayName (mode 0) or tagLine (other modes) of every artisan.
    QStringList fillItems(int mode) const;
    // Row under "ArtNo,Nom,Prenom,Adresse,Ville,CP,Tel,Courriel"; inner double
    // quotes doubled. Empty when the list is empty.
    QString csvLine(int index) const;
    // Item 1 of the artisan's varData (its position in the import file), empty
    // when varData is; *importFName (when given) receives item 0.
    static QString varSource(const TArtisan& artisan, QString* importFName = nullptr);
    // varSource read as an integer; -1 when empty or not a number.
    int varSourceIndex(int index, QString* importFName = nullptr) const;
    TProdList& productsOf(int index);
    void setProducts(int index, const TProdList& products);
    void setImportedProdNo(int index, int prodIndex, const QString& number);
    int totalProducts() const;

private:
    std::vector<std::unique_ptr<TArtisan>> m_items;
    TArtisan* m_current = nullptr;
};

