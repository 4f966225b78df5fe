// The tlvdb command-line tool, run as users and scripts run it: outputs and
// exit codes of dump, check, resave and consign.

#include "core/valueStream.h"
#include "support/testFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString REFERENCE = QStringLiteral(TILVAR_TEST_DATA "/sales-realistic.tlvdb");

ProcessRun tlvdb(const QStringList& args)
{
    return runProcess(qEnvironmentVariable("TLVDB_BIN"), args);
}

// A version-1 file: artisan records without product sections.
QByteArray versionOneFile()
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    TWriter w(buf);
    w.writeInteger(1);
    w.writeListBegin();
    w.writeString(u"001|:|Ancien|:|Jean|:||:|Montréal|:||:||:||:||:||:|"_s);
    w.writeListEnd();
    w.writeListBegin();
    w.writeString(u"080101|:|Ann|:|5.00$|:|\"Anc_Jea001-001,Pot,5.00$,1,5.00$\""_s);
    w.writeListEnd();
    w.writeInteger(-1);
    w.writeListBegin();
    w.writeString(u"Hiver|:|080101|:|080331"_s);
    w.writeListEnd();
    w.flush();
    return bytes;
}

// Every value of the dump is a string, except the two integers at the top.
bool onlyStrings(const QJsonValue& v)
{
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        return std::all_of(a.begin(), a.end(), [](const QJsonValue& x) { return onlyStrings(x); });
    }
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        return std::all_of(o.begin(), o.end(), [](const QJsonValue& x) { return onlyStrings(x); });
    }
    return v.isString();
}

} // namespace

class TestTlvdb : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(qEnvironmentVariable("TLVDB_BIN")), "TLVDB_BIN names the built tool");
    }

    void usage()
    {
        for (const QStringList& args : {QStringList{}, QStringList{u"frobnicate"_s, u"x"_s},
                                        QStringList{u"dump"_s}, QStringList{u"check"_s, u"a"_s, u"b"_s},
                                        QStringList{u"resave"_s, REFERENCE},
                                        QStringList{u"consign"_s, REFERENCE, u"Printemps"_s}}) {
            const ProcessRun r = tlvdb(args);
            QVERIFY(r.code == 2 && r.err.contains("usage: tlvdb") && r.out.isEmpty());
        }
        const ProcessRun help = tlvdb({u"--help"_s});
        QCOMPARE(help.code, 0);
        QVERIFY(help.out.contains("exit codes"));
    }

    void dump()
    {
        const ProcessRun r = tlvdb({u"dump"_s, REFERENCE});
        QCOMPARE(r.code, 0);
        QVERIFY(r.err.isEmpty());
        QJsonParseError pe;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &pe);
        QVERIFY2(pe.error == QJsonParseError::NoError, qPrintable(pe.errorString()));
        QJsonObject db = doc.object();
        QCOMPARE(db.value(u"version"_s).toInt(-9), 2);
        QCOMPARE(db.value(u"curPeriod"_s).toInt(-9), 1);
        // The five keys appear in the documented order.
        qsizetype last = -1;
        for (const char* k : {"\"version\"", "\"artisans\"", "\"sheets\"", "\"curPeriod\"", "\"periods\""}) {
            const qsizetype at = r.out.indexOf(k);
            QVERIFY(at > last);
            last = at;
        }

        const QJsonArray arts = db.value(u"artisans"_s).toArray();
        QCOMPARE(arts.size(), 3);
        const QJsonObject a = arts.at(0).toObject();
        QStringList keys = a.keys();
        keys.sort();
        QCOMPARE(keys, (QStringList{u"CP"_s, u"adresse"_s, u"artNo"_s, u"comment"_s, u"courriel"_s, u"nom"_s,
                                    u"prenom"_s, u"products"_s, u"tel"_s, u"varData"_s, u"ville"_s}));
        QCOMPARE(a.value(u"prenom"_s).toString(), u"Marie-Ève"_s);
        QCOMPARE(a.value(u"comment"_s).toString(), u"Céramiste.\r\nPréfère être payée le 1er du mois; « merci »"_s);
        const QJsonObject p = a.value(u"products"_s).toArray().at(0).toObject();
        QCOMPARE(p.keys().size(), 12);
        QCOMPARE(p.value(u"descript"_s).toString(), u"Vase bleu, grand"_s);
        const QJsonArray rec = p.value(u"received"_s).toArray();
        QCOMPARE(rec.size(), 2);
        QCOMPARE(rec.at(1).toObject().value(u"date"_s).toString(), u"090410"_s);
        QVERIFY(arts.at(2).toObject().value(u"products"_s).toArray().isEmpty());

        const QJsonArray sheets = db.value(u"sheets"_s).toArray();
        QCOMPARE(sheets.size(), 3);
        const QJsonObject s = sheets.at(1).toObject();
        QCOMPARE(s.value(u"agent"_s).toString(), u"Préposé d'été"_s);
        const QJsonArray lines = s.value(u"lines"_s).toArray();
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(1).toArray().at(1).toString(), u"Bol \"Océan\""_s);
        QCOMPARE(lines.at(2).toArray().at(1).toString(), u"Foulard   soie"_s);
        QVERIFY(sheets.at(2).toObject().value(u"lines"_s).toArray().isEmpty());

        const QJsonArray periods = db.value(u"periods"_s).toArray();
        QCOMPARE(periods.size(), 4);
        QCOMPARE(periods.at(1).toObject().value(u"title"_s).toString(), u"Juin, été"_s);

        db.remove(u"version"_s);
        db.remove(u"curPeriod"_s);
        QVERIFY(onlyStrings(db));
    }

    void checkAndFailures()
    {
        QTemporaryDir tmp;
        const ProcessRun ok = tlvdb({u"check"_s, REFERENCE});
        QCOMPARE(ok.code, 0);
        QVERIFY(ok.out.contains("3 artisans, 4 products, 3 sheets, 4 periods"));
        // A "%" in the name is printed as it is.
        const QString percent = tmp.filePath(u"caisse%3.tlvdb"_s);
        QVERIFY(QFile::copy(REFERENCE, percent));
        QVERIFY(tlvdb({u"check"_s, percent}).out.startsWith(percent.toUtf8() + ": version 2, 3 artisans"));

        const QString missing = tmp.filePath(u"none.tlvdb"_s);
        for (const QString& cmd : {u"check"_s, u"dump"_s}) {
            const ProcessRun r = tlvdb({cmd, missing});
            QVERIFY(r.code == 2 && r.err.contains("no such file"));
        }
        QCOMPARE(tlvdb({u"check"_s, tmp.path()}).code, 2);

        const QByteArray whole = readFileBytes(REFERENCE);
        const QString cut = tmp.filePath(u"cut.tlvdb"_s);
        QVERIFY(writeFileBytes(cut, whole.left(whole.size() - 10)));
        QVERIFY(writeFileBytes(tmp.filePath(u"empty.tlvdb"_s), {}));
        for (const QStringList& args : {QStringList{u"check"_s, cut}, QStringList{u"dump"_s, cut},
                                        QStringList{u"check"_s, tmp.filePath(u"empty.tlvdb"_s)}}) {
            const ProcessRun r = tlvdb(args);
            QVERIFY(r.code == 1 && r.err.contains("Error reading file") && r.out.isEmpty());
        }

        const QString old = tmp.filePath(u"old.tlvdb"_s);
        QVERIFY(writeFileBytes(old, QByteArray("\x02\x00\x01\x00", 4)));
        const ProcessRun r = tlvdb({u"check"_s, old});
        QCOMPARE(r.code, 1);
        QVERIFY(QString::fromUtf8(r.err).contains(u"Cette version n'est plus supportée"_s));
    }

    void resave()
    {
        QTemporaryDir tmp;
        const QString same = tmp.filePath(u"same.tlvdb"_s);
        QCOMPARE(tlvdb({u"resave"_s, REFERENCE, same}).code, 0);
        QCOMPARE(readFileBytes(same), readFileBytes(REFERENCE));

        const QString v1 = tmp.filePath(u"v1.tlvdb"_s);
        QVERIFY(writeFileBytes(v1, versionOneFile()));
        const QString v2 = tmp.filePath(u"v2.tlvdb"_s);
        QCOMPARE(tlvdb({u"resave"_s, v1, v2}).code, 0);
        QVERIFY(readFileBytes(v2).startsWith("\x02\x02"));
        const ProcessRun d = tlvdb({u"dump"_s, v2});
        QCOMPARE(d.code, 0);
        const QJsonObject db = QJsonDocument::fromJson(d.out).object();
        QCOMPARE(db.value(u"version"_s).toInt(), 2);
        QCOMPARE(db.value(u"artisans"_s).toArray().at(0).toObject().value(u"ville"_s).toString(), u"Montréal"_s);
        QVERIFY(db.value(u"artisans"_s).toArray().at(0).toObject().value(u"products"_s).toArray().isEmpty());
        QCOMPARE(db.value(u"curPeriod"_s).toInt(), -1);

        // A file that cannot be read whole is refused and nothing is written.
        const QByteArray whole = readFileBytes(REFERENCE);
        const QString cut = tmp.filePath(u"cut.tlvdb"_s);
        QVERIFY(writeFileBytes(cut, whole.left(whole.size() / 2)));
        const QString refused = tmp.filePath(u"refused.tlvdb"_s);
        const ProcessRun r = tlvdb({u"resave"_s, cut, refused});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFile::exists(refused));
        QCOMPARE(tlvdb({u"resave"_s, tmp.filePath(u"nothing"_s), refused}).code, 2);

        // An output that cannot be written (its folder is a file).
        const ProcessRun w = tlvdb({u"resave"_s, REFERENCE, cut + u"/x.tlvdb"_s});
        QCOMPARE(w.code, 1);
        QVERIFY(!w.err.isEmpty());
        QCOMPARE(readFileBytes(cut), whole.left(whole.size() / 2));

        // Over an existing OUT the replaced version is kept in backup/; a file
        // named "backup" there does not stop the resave.
        QCOMPARE(tlvdb({u"resave"_s, v2, same}).code, 0);
        QCOMPARE(QDir(tmp.filePath(u"backup"_s)).entryList(QDir::Files).size(), 1);
        QDir(tmp.filePath(u"backup"_s)).removeRecursively();
        QVERIFY(writeFileBytes(tmp.filePath(u"backup"_s), "not a folder"));
        const ProcessRun b = tlvdb({u"resave"_s, REFERENCE, same});
        QCOMPARE(b.code, 0);
        QVERIFY(b.err.contains("no backup copy kept"));
        QCOMPARE(readFileBytes(same), whole);
    }

    void consign()
    {
        const ProcessRun r = tlvdb({u"consign"_s, REFERENCE, u"Printemps"_s, u"001"_s});
        QCOMPARE(r.code, 0);
        QCOMPARE(QString::fromUtf8(r.out),
                 u"090518,001,001,\"Vase bleu, grand\",24.00$,2,48.00$\n"
                 "090518,001,002,\"Bol \"\"Océan\"\"\",15.00$,1,15.00$\n"
                 "090518,001,003,,0.00$,0,\n"
                 "Total: 63.00$\n"_s);

        // A period title with a comma and accents; a period without sales.
        for (const QStringList& args : {QStringList{u"Juin, été"_s, u"002"_s}, QStringList{u"juillet"_s, u"001"_s}}) {
            const ProcessRun none = tlvdb(QStringList{u"consign"_s, REFERENCE} + args);
            QCOMPARE(none.code, 0);
            QCOMPARE(none.out, QByteArray("Total: 0.00$\n"));
        }

        const ProcessRun noPeriod = tlvdb({u"consign"_s, REFERENCE, u"Automne"_s, u"001"_s});
        QVERIFY(noPeriod.code == 1 && noPeriod.err.contains("Automne"));
        const ProcessRun noArt = tlvdb({u"consign"_s, REFERENCE, u"Printemps"_s, u"009"_s});
        QVERIFY(noArt.code == 1 && noArt.err.contains("009"));
    }
};

QTEST_GUILESS_MAIN(TestTlvdb)
#include "tst_tlvdb.moc"
