#pragma once
// Dated quantities: a product's received or sold units as a list of
// (date, quantity) events, stored packed in the product record.

#include <QList>
#include <QString>
#include <vector>

// One dated quantity; both fields are kept as text, exactly as given.
struct TDQEvent {
    QString date; // "yymmdd"
    QString qnt;  // decimal integer text, may be negative
};

// Whether (date, qnt) can be stored as an event entered by hand: empty when
// it can, otherwise a French message. Events are packed without quoting, so
// only a real "yymmdd" day and an integer of -999..999 read back as typed.
// A quantity equal to stored (what the event already holds) is kept as it
// is, out of that range or not: nothing is lost unless the user changes it.
QString qntEventProblem(const QString& date, const QString& qnt, const QString& stored = {});

class TQnt {
public:
    int count() const;
    const TDQEvent& at(int index) const; // AppError "List index out of bounds (%d)"
    const TDQEvent* current() const;

    void addQnt(const QString& date, const QString& qnt);
    int findDate(const QString& date);
    QString qntAt(const QString& date);
    void setQntAt(int index, const QString& qnt);
    QString eventStr(int index) const;
    // form 0 dates, 1 quantities, 2 packed (stored), 3 "date=qnt" (XML), 4 display.
    QString qntText(int form) const;
    void setQntText(const QString& packed);
    void sortEvents();
    int totalQnt() const;      // AppError "'%s' is not a valid integer value"
    QString totalQntStr() const;
    void deleteAt(int index);
    void clear();

private:
    // Rebuilds from a packed text of digits, minus signs and commas only (what
    // the program itself writes) without the general comma-list reader.
    bool setPlainQntText(const QString& packed);
    // qntText(2): the events joined so that setQntText reads them back.
    QString packedText() const;

    std::vector<TDQEvent> m_events;
    int m_current = -1;
};
