// Builders shared by the model, report and window tests: artisans and their
// products, sale sheets, comma-list sale lines and file sections written to
// and read from memory.
#pragma once

#include "core/textUtil.h"
#include "core/valueStream.h"
#include "model/uArt.h"
#include "model/uSale.h"

#include <QBuffer>

#include <memory>

inline TArtisan& newArtisan(TArtList& list, const QString& no, const QString& nom = {},
                           const QString& prenom = {})
{
    TArtisan& a = list.append();
    a.artNo = no;
    a.nom = nom;
    a.prenom = prenom;
    return a;
}

inline TProduit& newProduct(TArtisan& a, const QString& no, const QString& descript = {},
                            const QString& valeur = {}, const QString& prix = {})
{
    TProduit& p = a.products.append();
    p.artNo = a.artNo;
    p.prodNo = no;
    p.descript = descript;
    p.valeur = valeur;
    p.prix = prix;
    return p;
}

// One sale line: product key, description, price, quantity, amount.
inline QString saleLine(const QString& pno, const QString& descr, const QString& prix,
                        const QString& qnt, const QString& tot)
{
    return writeCommaList({pno, descr, prix, qnt, tot});
}

inline TSaleItem& addSheet(TSaleList& l, const QString& date, const QStringList& lines,
                           const QString& agent = QString(), const QString& total = QString())
{
    auto s = std::make_unique<TSaleItem>();
    s->date = date;
    s->agent = agent;
    s->total = total;
    s->lines = writeCommaList(lines);
    TSaleItem& ref = *s;
    l.append(std::move(s));
    return ref;
}

// The bytes one section writer produces.
template <class Write>
QByteArray writeSection(Write write)
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    {
        TWriter w(buf);
        write(w);
        w.flush();
    }
    return buf.data();
}

template <class Read>
void readSection(const QByteArray& bytes, Read read)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    TReader r(buf);
    read(r);
}
