#include "ui/artisans/artAccount.h"

#include "core/appError.h"
#include "boutique/appState.h"
#include "boutique/boutique.h"
#include "boutique/dbFile.h"
#include "core/prompt.h"
#include "core/textUtil.h"
#include "model/balance.h"
#include "model/saleRows.h"
#include "ui/widgets/named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// The artisan's own rule in the choice: -1 leaves them under the boutique's.
constexpr int BoutiqueRule = -1;
} // namespace

TArtAccountBox::TArtAccountBox(Boutique& boutique, Prompt& p, QWidget* parent)
    : QGroupBox(u"Compte de l'artisan"_s, parent), doc(boutique), st(boutique.state()), prompt(p)
{
    setObjectName(u"artAccountBox"_s);
    // A payout, a rule or a stock credit recorded anywhere moves the figures shown.
    connect(&doc, &Boutique::accountChanged, this, [this] {
        if (!m_artNo.isEmpty())
            showAccount(st.curArtNo);
    });
    balanceLab = named<QLabel>("balanceLab", this);
    balanceLab->setStyleSheet(u"font-weight: bold"_s);
    payoutList = named<QListWidget>("payoutList", this);
    payoutList->setMaximumHeight(90);
    reversePayBtn = named<QPushButton>("reversePayBtn", u"Annuler le paiement..."_s, this);
    reversePayBtn->setToolTip(u"Ajoute au journal l'écriture qui annule le paiement choisi ; il y reste."_s);
    ownRuleCB = named<QComboBox>("ownRuleCB", this);
    ownRuleCB->addItems({u"Règle de la boutique"_s, u"Valeur des produits × quantité"_s, u"Pourcentage du prix"_s});
    ownPctSpin = named<QSpinBox>("ownPctSpin", this);
    ownPctSpin->setRange(1, 100);
    ownPctSpin->setSuffix(u" %"_s);
    ownRuleBtn = named<QPushButton>("ownRuleBtn", u"Appliquer..."_s, this);
    goneChk = named<QCheckBox>("goneChk", u"A quitté la boutique"_s, this);
    auto* rule = new QHBoxLayout;
    rule->addWidget(new QLabel(u"Part de l'artisan :"_s, this));
    rule->addWidget(ownRuleCB, 1);
    rule->addWidget(ownPctSpin);
    rule->addWidget(ownRuleBtn);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(balanceLab, 1);
    top->addWidget(goneChk);
    layout->addLayout(top);
    auto* pays = new QHBoxLayout;
    pays->addWidget(payoutList, 1);
    pays->addWidget(reversePayBtn, 0, Qt::AlignTop);
    layout->addLayout(pays);
    layout->addLayout(rule);
    connect(reversePayBtn, &QPushButton::clicked, this, &TArtAccountBox::reverseChosenPayout);
    connect(goneChk, &QCheckBox::clicked, this, &TArtAccountBox::setGone);
    connect(ownRuleCB, &QComboBox::currentIndexChanged, this, [this](int i) { ownPctSpin->setEnabled(i == 2); });
}

void TArtAccountBox::showAccount(const QString& artNo)
{
    m_artNo = artNo;
    const QString today = todayStr();
    const ShareRule fallback{st.artSharePercent};
    const AccountFigures f =
        accountFigures(st.repList.book(st.saleList), st.artList, st.account, fallback, artNo, QString(), today);
    const Money shown = balanceAmount(f.after());
    balanceLab->setText(u"%1 aujourd'hui : %2   (gagné %3, %4payé %5)"_s.arg(
        balanceCaption(f.after()), shown.format(), f.earned.format(),
        f.credited.isZero() ? QString() : u"crédité pour pertes %1, "_s.arg(f.credited.format()), f.paid.format()));
    payoutList->clear();
    for (const Payout& p : st.account.payouts())
        if (p.artNo == artNo) {
            auto* item = new QListWidgetItem(u"n° %1  %2  %3  %4%5%6%7"_s.arg(
                QString::number(p.id), p.date, p.amount.format(), p.mode,
                p.ref.isEmpty() ? QString() : u"  "_s + p.ref,
                p.reverses ? u"  (annule le n° %1)"_s.arg(p.reverses)
                           : p.period.isEmpty() ? QString() : u"  (« "_s + p.period + u" »)"_s,
                st.account.isReversed(p.id) ? u"  annulé"_s : QString()));
            item->setData(Qt::UserRole, p.id);
            payoutList->addItem(item);
        }
    if (payoutList->count() == 0)
        payoutList->addItem(u"Aucun paiement"_s);
    const auto own = st.account.ownRuleAt(artNo, today);
    ownRuleCB->setCurrentIndex(!own || own->percent == BoutiqueRule ? 0 : own->byValeur() ? 1 : 2);
    if (own && !own->byValeur() && own->percent != BoutiqueRule)
        ownPctSpin->setValue(own->percent);
    ownPctSpin->setEnabled(ownRuleCB->currentIndex() == 2);
    ownRuleCB->setToolTip(u"En vigueur aujourd'hui : "_s + st.account.ruleAt(artNo, today, fallback).text());
    const QSignalBlocker quiet(goneChk);
    goneChk->setChecked(st.account.gone.contains(artNo));
    goneChk->setToolTip(goneChk->isChecked() ? u"Depuis le "_s + st.account.gone.value(artNo) : QString());
}

bool TArtAccountBox::reverseChosenPayout()
{
    const QListWidgetItem* item = payoutList->currentItem();
    const int id = item ? item->data(Qt::UserRole).toInt() : 0;
    const auto& all = st.account.payouts();
    const auto it = std::find_if(all.cbegin(), all.cend(), [id](const Payout& p) { return p.id == id; });
    if (it == all.cend()) {
        prompt.information(u"Choisissez d'abord dans la liste le paiement à annuler."_s);
        return false;
    }
    if (prompt.question(u"Annuler le paiement n° %1 de %2 du %3 ? Une écriture qui l'annule est ajoutée au journal, "
                        "datée d'aujourd'hui ; le paiement y reste."_s.arg(QString::number(id), it->amount.format(),
                                                                           it->date))
        != Prompt::Answer::Yes)
        return false;
    QString note;
    if (!prompt.inputText(u"Annuler le paiement"_s, u"Raison (facultatif) :"_s, note))
        return false;
    try {
        const Payout& r = doc.reversePayout(id, todayStr(), note.trimmed());
        prompt.information(u"Paiement n° %1 annulé par l'écriture n° %2."_s.arg(QString::number(id),
                                                                                QString::number(r.id)));
    } catch (const AppError& e) {
        prompt.error(e.message());
        return false;
    }
    showAccount(m_artNo);
    return true;
}

void TArtAccountBox::setGone(bool gone)
{
    if (m_artNo.isEmpty() || gone == st.account.gone.contains(m_artNo))
        return;
    const QString ask =
        gone ? u"L'artisan %1 a quitté la boutique ? Il reste dans les rapports et les soldes, mais ses produits ne "
               "se vendront plus."_s.arg(m_artNo)
             : u"L'artisan %1 revient à la boutique ? Ses produits se vendront de nouveau."_s.arg(m_artNo);
    if (prompt.question(ask) != Prompt::Answer::Yes) {
        showAccount(m_artNo);
        return;
    }
    doc.setGone(m_artNo, gone ? todayStr() : QString());
    showAccount(m_artNo);
}

bool TArtAccountBox::applyOwnRule()
{
    if (m_artNo.isEmpty())
        return false;
    const int percent = ownRuleCB->currentIndex() == 0 ? BoutiqueRule
                        : ownRuleCB->currentIndex() == 1 ? 0
                                                         : ownPctSpin->value();
    const bool done = changeShareRule(
        doc, prompt, m_artNo, percent,
        u"Artisan %1 : %2"_s.arg(m_artNo, percent == BoutiqueRule ? u"la règle de la boutique"_s
                                                                   : ShareRule{percent}.text()));
    showAccount(m_artNo);
    return done;
}

bool changeShareRule(Boutique& doc, Prompt& prompt, const QString& artNo, int percent, const QString& what)
{
    AppState& st = doc.state();
    QString from = todayStr();
    if (!prompt.inputText(u"Part de l'artisan"_s, u"La règle s'applique aux ventes à partir du (aammjj) :"_s, from))
        return false;
    from = from.trimmed();
    if (!isDay(from)) {
        prompt.error(u"« %1 » n'est pas une date (aammjj) : la règle n'a pas changé."_s.arg(from));
        return false;
    }
    // What is recorded keeps the share it had; then only the unpaid lines
    // from that day on take the new rule. Tried on a copy, so that staff see
    // what it changes before it does.
    recordShares(st);
    Account tried = st.account;
    tried.setRule(artNo, from, percent);
    const QStringList changed = tried.reshare(st.artList, ShareRule{st.artSharePercent}, artNo, from);
    QStringList artisans;
    for (const QString& l : changed)
        if (const QString no = l.section(u' ', 1, 1).section(u'-', 0, 0); !artisans.contains(no))
            artisans << no;
    constexpr int Shown = 12;
    QString lines = changed.isEmpty() ? u"Aucune vente déjà inscrite ne change de part."_s
                                      : u"%1 ligne(s) de vente changent de part (artisans %2) :\n"_s.arg(
                                            QString::number(changed.size()), artisans.join(u", "_s))
                                            + changed.mid(0, Shown).join(u'\n');
    if (changed.size() > Shown)
        lines += u"\n... et %1 autre(s)."_s.arg(changed.size() - Shown);
    if (prompt.question(u"%1, pour les ventes du %2 et après.\n%3\nLes ventes déjà payées gardent leur part. "
                        "Appliquer cette règle ?"_s.arg(what, from, lines))
        != Prompt::Answer::Yes)
        return false;
    doc.replaceAccount(std::move(tried));
    return true;
}
