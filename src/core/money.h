#pragma once
// Fixed-point amount with four decimals: the only type money is computed in.

#include <QString>
#include <QtGlobal>
#include <optional>

class Money {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 tenThousandths) { Money m; m.m_units = tenThousandths; return m; }

    // Blanks around, an optional sign, digits with one optional "." (no other
    // separator, no "$"); more than four decimals round half away from zero.
    static std::optional<Money> tryParse(QStringView text);
    // As tryParse; invalid or empty text is 0.
    static Money parse(QStringView text);

    qint64 units() const { return m_units; }
    bool isZero() const { return m_units == 0; }

    // A result beyond the range of amounts raises AppError, never wraps.
    Money operator+(Money o) const { return checked(__builtin_add_overflow(m_units, o.m_units, &o.m_units), o); }
    Money operator-(Money o) const
    {
        Money r;
        return checked(__builtin_sub_overflow(m_units, o.m_units, &r.m_units), r);
    }
    Money operator*(qint64 qnt) const
    {
        Money r;
        return checked(__builtin_mul_overflow(m_units, qnt, &r.m_units), r);
    }
    Money& operator+=(Money o) { return *this = *this + o; }
    Money& operator-=(Money o) { return *this = *this - o; }
    auto operator<=>(const Money&) const = default;

    // "0.00$": minus sign, at least one integer digit, two decimals (half away
    // from zero), literal "$".
    QString format() const;
    // The same without the "$" ("12.50").
    QString plain() const;
    // Every decimal the amount holds, at least two ("3.335$", "12.50$"): a
    // unit price printed so that price x quantity reads true.
    QString formatExact() const;
    // The same without the "$" ("3.335"): how files keep an exact amount.
    QString plainExact() const;
    // format() and formatExact() appended to out, without a text of their own.
    void appendFormat(QString& out) const;
    void appendFormatExact(QString& out) const;
    // Rounded once to the cent, half away from zero.
    Money roundedToCent() const;
    // The amount x percent / 100, rounded to the cent (half away from zero);
    // AppError when it cannot be held.
    Money percentOf(int percent) const;
    // The French text of an amount that cannot be held.
    static QString overflowMessage();

private:
    static Money checked(bool overflowed, Money result)
    {
        if (overflowed)
            overflow();
        return result;
    }
    [[noreturn]] static void overflow();
    qint64 m_units = 0;
};
