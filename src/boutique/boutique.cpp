#include "boutique/boutique.h"

#include "boutique/artisanState.h"

Boutique::Boutique(QObject* parent) : QObject(parent) {}

void Boutique::changed(Change what, bool modifies, const QObject* by)
{
    switch (what) {
    case Change::Artisans:
        emit artisansChanged();
        break;
    case Change::Products:
        emit productsChanged();
        break;
    case Change::Sheets:
        emit sheetsChanged();
        break;
    case Change::Periods:
        emit periodsChanged(by);
        break;
    case Change::Account:
        emit accountChanged();
        break;
    }
    if (modifies)
        setModified(true);
}

void Boutique::setModified(bool modified)
{
    m_st.modified = modified;
    announce();
}

void Boutique::fileReplaced()
{
    emit fileChanged();
    announce();
}

void Boutique::announce()
{
    if (m_said == m_st.modified)
        return;
    m_said = m_st.modified;
    emit modifiedChanged(m_said);
}

TArtisan* Boutique::selectArtisan(int index)
{
    TArtisan* a = ::selectArtisan(m_st, index);
    if (a)
        emit artisanSelected();
    return a;
}
