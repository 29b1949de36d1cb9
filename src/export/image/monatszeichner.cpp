#include "export/image/monatszeichner.h"

#include "export/image/grafikseite.h"
#include "storage/registry.h"
#include "table/tabelle.h"

Monatszeichner::Monatszeichner(const Zustand& basis) : m_basis(basis), z(basis), m_grafik(z) {
    auto schalter = [](const QString& name, bool vorgabe) {
        const QString wert = Lies_Integer_aus_Registry_mit_Vorgabe(name);
        return wert == u"1" ? true : wert == u"0" ? false : vorgabe;
    };
    m_gewicht = schalter(QStringLiteral("FarbkurveGewichtAnzeigen"), false);
    m_bemerkungen = schalter(QStringLiteral("BemerkungenAnzeigen"), true);
    m_grafik.nurZeichnen = true;
    m_grafik.gewichtSichtbar = m_gewicht;
}

bool Monatszeichner::zeichne(const QString& tabelle) {
    z = m_basis; // each table's own user name: an empty header takes the stored one
    return m_grafik.GrafikZeichnen(tabelle);
}

QImage Monatszeichner::grafikseite(const std::function<void(QImage&)>& markieren) const {
    bildexport::Grafikseite seite = bildexport::grafikseiteAus(m_grafik, m_gewicht, m_bemerkungen);
    if (markieren) markieren(seite.grafik);
    return bildexport::Die4BilderZusammenfuegen(seite);
}

QImage Monatszeichner::tabellenbild() const {
    return bildexport::tabellenBildMitTitel(tabelle::TabelleAlsBild(tabelle::ErstelleTabelle(z.ListBox1)),
                                            m_grafik.Label1);
}
