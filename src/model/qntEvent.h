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

// Held compactly: a six-digit date and a quantity written as the number it
// is (what the program writes) take two integers; other texts are kept as
// they are. A ten-year boutique holds some 200,000 events: as two strings
// each they were most of its loading time and memory.
class TQnt {
public:
    int count() const;
    TDQEvent at(int index) const; // AppError "List index out of bounds (%d)"
    int currentIndex() const { return m_current; } // -1: none

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
    // Whether every event is a six-digit date and a number: the packed text
    // then holds only digits, minus signs and commas.
    bool isPlain() const { return m_texts.empty(); }
    // Appends qntText(2) to out (without a copy of its own when isPlain).
    void appendPacked(QString& out) const;
    QString totalQntStr() const;
    void deleteAt(int index);
    void clear();

private:
    // Rebuilds from a packed text of digits, minus signs and commas only (what
    // the program itself writes) without the general comma-list reader.
    bool setPlainQntText(QStringView packed);
    // qntText(2): the events joined so that setQntText reads them back.
    QString packedText() const;

    // date >= 0: the six digits of the date and qnt the quantity; date < 0:
    // the texts are m_texts[-date - 1].
    struct Event {
        qint32 date;
        qint32 qnt;
    };
    Event make(QStringView date, QStringView qnt);
    QString dateOf(const Event& e) const;
    QString qntOf(const Event& e) const;
    void appendDate(QString& out, const Event& e) const;
    void appendQnt(QString& out, const Event& e) const;
    int quantity(const Event& e) const; // strToInt of the quantity's text
    // Forgets e's texts (e then holds none).
    void dropTexts(Event& e);

    std::vector<Event> m_events;
    std::vector<TDQEvent> m_texts;
    int m_current = -1;
};
