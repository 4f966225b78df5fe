#include "ui/artisans/artAccount.h"

#include "core/appState.h"
#include "core/dbFile.h"
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

using namespace Qt::StringLiterals;

namespace {
// The artisan's own rule in the choice: -1 leaves them under the boutique's.
constexpr int BoutiqueRule = -1;
} // namespace

TArtAccountBox::TArtAccountBox(AppState& state, Prompt& p, QWidget* parent)
    : QGroupBox(u"Compte de l'artisan"_s, parent), st(state), prompt(p)
{
    setObjectName(u"artAccountBox"_s);
    balanceLab = named<QLabel>("balanceLab", this);
    balanceLab->setStyleSheet(u"font-weight: bold"_s);
    payoutList = named<QListWidget>("payoutList", this);
    payoutList->setMaximumHeight(90);
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
    layout->addWidget(payoutList);
    layout->addLayout(rule);
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
    const Money shown = f.after() < Money() ? Money() - f.after() : f.after();
    balanceLab->setText(u"%1 aujourd'hui : %2   (gagné %3, %4payé %5)"_s.arg(
        balanceCaption(f.after()), shown.format(), f.earned.format(),
        f.credited.isZero() ? QString() : u"crédité pour pertes %1, "_s.arg(f.credited.format()), f.paid.format()));
    payoutList->clear();
    for (const Payout& p : st.account.payouts())
        if (p.artNo == artNo)
            payoutList->addItem(u"n° %1  %2  %3  %4%5%6"_s.arg(
                QString::number(p.id), p.date, p.amount.format(), p.mode,
                p.ref.isEmpty() ? QString() : u"  "_s + p.ref,
                p.reverses ? u"  (annule le n° %1)"_s.arg(p.reverses)
                           : p.period.isEmpty() ? QString() : u"  (« "_s + p.period + u" »)"_s));
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
    if (gone)
        st.account.gone.insert(m_artNo, todayStr());
    else
        st.account.gone.remove(m_artNo);
    st.modified = true;
    showAccount(m_artNo);
}

bool TArtAccountBox::applyOwnRule()
{
    if (m_artNo.isEmpty())
        return false;
    const int percent = ownRuleCB->currentIndex() == 0 ? BoutiqueRule
                        : ownRuleCB->currentIndex() == 1 ? 0
                                                         : ownPctSpin->value();
    QString from = todayStr();
    if (!prompt.inputText(u"Part de l'artisan"_s, u"La règle s'applique aux ventes à partir du (aammjj) :"_s, from))
        return false;
    from = from.trimmed();
    if (from.size() != 6 || !strToDate(from).isValid()) {
        prompt.error(u"« %1 » n'est pas une date (aammjj) : la règle n'a pas changé."_s.arg(from));
        return false;
    }
    // What is recorded keeps the share it had; then only the unpaid lines
    // from that day on take the new rule.
    recordShares(st);
    st.account.setRule(m_artNo, from, percent);
    const QStringList changed = st.account.reshare(st.artList, ShareRule{st.artSharePercent}, m_artNo, from);
    st.modified = true;
    prompt.information(u"Artisan %1 : %2 pour les ventes du %3 et après ; %4 ligne(s) de vente changent de part "
                       "(les ventes déjà payées gardent la leur)."_s.arg(
                           m_artNo,
                           percent == BoutiqueRule ? u"la règle de la boutique"_s : ShareRule{percent}.text(), from,
                           QString::number(changed.size())));
    showAccount(m_artNo);
    return true;
}
