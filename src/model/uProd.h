#pragma once
// Products and product lists: the product record, its section of the database
// file, its XML item, its quantities and the one-line texts the windows show.
//
// Ownership: products are held by std::shared_ptr. An artisan's own product
// list and the working list prodList hold the same objects; a product lives as
// long as one list still holds it, so no list ever points at a freed product.

#include "model/qntEvent.h"
#include "model/recordField.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QDomElement;
class TReader;
class TextPool;
class TRepList;
class TSaleList;
class TWriter;

// The three-digit number of n: "00" + n, last three characters (1 -> "001",
// 1000 -> "000"). Artisan and product numbers follow this one rule.
QString numberText(int n);

// text with each double quote doubled: a field written between double quotes
// in a comma list row then reads back as it is.
QString quoted(const QString& text);

// The header of the rows made by TProdList::getCurInvent.
inline const QString INVENT_HEADER = QStringLiteral("noProd,Descript,Qnt,Vndu,Rest");

// One consigned product: number, description, value, price and its received
// and sold quantities; the stock on hand is computed, never stored.
class TProduit {
public:
    QString artNo;
    QString prodNo;
    QString descript;
    QString qntStr;   // received events, packed (refreshed by prodRecord)
    QString soldStr;  // sold events, packed (refreshed by prodRecord)
    QString valeur;   // unit value, money text
    QString prix;     // selling price, money text
    QString soldQnt;  // total sold (refreshed by prodRecord)
    QString totQnt;   // total received (refreshed by prodRecord)
    QString reserved1;
    QString reserved2;
    QString reserved3;
    TQnt qntList;  // received
    TQnt soldList; // sold
    int totIn = 0;
    int totSold = 0;
    int available = 0;

    // The twelve fields joined with PROD_SEP, after refreshing the packed
    // texts and the totals from the lists. Never fails: a total that cannot be
    // computed (a quantity that is not an integer) keeps its previous text, so
    // one bad quantity never prevents saving the database.
    QString prodRecord();
    void setProdRecord(const QString& record);
    // The same, the short fields (numbers, prices, totals) taken from pool.
    void setProdRecord(const QString& record, TextPool& pool);
    // The twelve fields prodRecord would join, without changing the product.
    QList<RecordField> recordFields() const;
    // The same fields for the checks (storeProblem, what reports cannot
    // show): the packed quantities and the totals left empty when made only
    // of digits, minus signs and commas, which fit any record and any report.
    QList<RecordField> checkedFields() const;
    // recordProblem of those fields, owner "Artisan <artNo>, produit <prodNo>".
    QString storeProblem() const;
    // prodRecord after the check of storeProblem, the fields made once (a
    // save goes through every product); AppError with that problem.
    QString storedRecord();

    // Recomputes totIn, totSold, available; "0" or the signed difference.
    QString availableStr();
    // in - sold; RangeError when it cannot be held (never wraps).
    static int availableOf(int in, int sold);
    // Adds a sold quantity (an integer text) on date and recomputes the totals.
    // A quantity that is not an integer raises before anything changes.
    void addSold(const QString& date, const QString& qnt);
    void delSold(const QString& date);
    void setSold(const QString& date, const QString& qnt);
    // Value of qnt units at valeur ("0.00$"), empty for qnt <= 0. A blank
    // valeur (a product never stored from the window) counts as 0.
    QString soldValue(const QString& qnt) const;
    // qnt (a non-integer counting 0) times price, empty for qnt <= 0.
    static QString unitAmount(const QString& qnt, const QString& price);

    // The product's one-line XML item; every text is escaped.
    QString itemXML() const;
    // Fills prodNo, descript, qntStr, valeur and prix from an XML item
    // (children by position); artNo and the quantity lists are left empty.
    void readItemXML(const QDomElement& item);

private:
    // The twelve fields with these totals; the packed texts empty unless packed.
    QList<RecordField> recordFields(const QString& sold, const QString& tot, bool packed) const;
    // The fields joined with PROD_SEP, the packed texts and totals kept.
    QString joinFields(const QList<RecordField>& f);
};

// An ordered list of shared products with the operations the products window,
// the sale-line editor and the reports call by position. Clearing the list
// drops its references only; a product another list holds stays alive.
class TProdList {
public:
    using Ptr = std::shared_ptr<TProduit>;

    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    // Fetch by position; the product becomes current. Raises AppError
    // "List index out of bounds (%d)" outside 0..count-1.
    TProduit& at(int index);
    const TProduit& at(int index) const;
    const Ptr& ptrAt(int index) const;
    const QList<Ptr>& items() const { return m_items; }
    TProduit* current() const { return m_current.get(); }

    // Appends p (a new empty product when p is null); it becomes current.
    TProduit& append(Ptr p = nullptr);
    void removeAt(int index);
    void clear();
    // The same objects as other, in the same order.
    void assign(const TProdList& other);

    // Section of the database file: list begin, one record per product, list end.
    void writeProducts(TWriter& w) const;
    // pool: short texts shared with the products read before (a whole file's).
    void readProducts(TReader& r, TextPool& pool);

    // A new product numbered number, of artisan artNo, with one received
    // event of quantity "0" dated today.
    TProduit& addProduct(const QString& number, const QString& artNo, const QString& today);
    // Copies descript, valeur and prix of source into the last product when
    // the list holds at least two and the last has no description, otherwise
    // into a new one; one received event of "1" dated today.
    TProduit& addImported(const TProduit& source, const QString& artNo, const QString& prodNo,
                          const QString& today);
    static QString numberFor(int index) { return numberText(index + 1); }
    // Numbers 001, 002, ... in list order, sheets unseen: the program
    // renumbers through renumberProducts (model/soldSync.h), which keeps
    // every sheet line on its product.
    void renumber();
    void setProdNo(int index, const QString& number);
    // 0 artNo, 1 prodNo, 2 descript, 3 qntStr, 5 valeur, 6 prix; otherwise empty.
    QString productField(int index, int selector);
    QStringList prodNumbers() const;

    void addReceived(int index, const QString& date, const QString& qnt);
    void delReceived(int index, int position);
    void sortReceived(int index);
    QString receivedTotalStr(int index);
    void addSoldAt(int index, const QString& date, const QString& qnt);
    void delSoldAt(int index, const QString& date);
    void setSoldAt(int index, const QString& date, const QString& qnt);
    // "na" outside the list; else totIn (0), totSold (1) or available (2).
    QString qntInfo(int index, int which);

    // Row texts (comma lists) under the windows' headers.
    QString saleLine(int index, const QString& date);
    QString listLine(int index);
    QString importLine(int index);
    // One inventory row per product of artisan artNo, under INVENT_HEADER:
    // number, description, received, sold, available; as a comma list of rows.
    // Empties the ledger's results (getAllRange then starts from every sale)
    // and the periods' spareLines.
    QString getCurInvent(const QString& artNo, TSaleList& sales, TRepList& reps);

    QString itemXML(int index);
    // Per product: two tabs, its item, a line feed.
    QString itemsXML() const;

private:
    QList<Ptr> m_items;
    Ptr m_current;
};

