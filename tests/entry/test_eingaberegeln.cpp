#include "testumgebung.h"

#include "entry/eingaberegeln.h"

using namespace eingaberegeln;

class EingaberegelnTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void zeitSchritt_data() {
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<bool>("hoch");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("23:50 auf") << "23:50" << true << "24:00";
        QTest::newRow("24:00 auf") << "24:00" << true << "00:10";
        QTest::newRow("00:00 ab") << "00:00" << false << "24:00";
        QTest::newRow("07:35 auf") << "07:35" << true << "07:45";
        QTest::newRow("07:55 auf") << "07:55" << true << "08:00";
        QTest::newRow("24:00 ab") << "24:00" << false << "23:50";
        QTest::newRow("08:00 ab") << "08:00" << false << "07:50";
        QTest::newRow("24:50 auf bleibt 24") << "24:50" << true << "24:00";
        QTest::newRow("ohne Doppelpunkt auf") << "0730" << true << "00:10";
        QTest::newRow("ohne Doppelpunkt ab") << "" << false << "23:50";
        QTest::newRow("einstellig") << "7:5" << true << "07:15";
    }
    void zeitSchritt() {
        QFETCH(QString, zeit);
        QFETCH(bool, hoch);
        QFETCH(QString, erwartet);
        QCOMPARE(eingaberegeln::zeitSchritt(zeit, hoch), erwartet);
    }

    void gewichtSchritt_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<int>("knopf");
        QTest::addColumn<bool>("hoch");
        QTest::addColumn<QString>("text");
        QTest::newRow("70,5 + 1") << 70.5 << 2 << true << "71,5";
        QTest::newRow("70,5 + 10") << 70.5 << 1 << true << "80,5";
        QTest::newRow("70,5 + 0,1") << 70.5 << 3 << true << "70,6";
        QTest::newRow("70,5 - 0,5 ganz") << 71.5 << 2 << false << "70,5";
        QTest::newRow("500 darf noch") << 500.0 << 1 << true << "510";
        QTest::newRow("über 500 nicht") << 500.5 << 3 << true << "500,5";
        QTest::newRow("1 darf noch") << 1.0 << 3 << false << "0,9";
        QTest::newRow("unter 1 nicht") << 0.9 << 3 << false << "0,9";
        QTest::newRow("nie unter null") << 5.0 << 1 << false << "5";
    }
    void gewichtSchritt() {
        QFETCH(double, wert);
        QFETCH(int, knopf);
        QFETCH(bool, hoch);
        QFETCH(QString, text);
        QCOMPARE(gewichtText(eingaberegeln::gewichtSchritt(wert, gewichtsSchrittweite(knopf), hoch)), text);
    }

    void zehntelSchritteBleibenKurz() {
        // Ten steps of 0.1 collect a binary rounding error that the text must not show.
        double wert = 70.0;
        for (int i = 0; i < 10; ++i)
            wert = eingaberegeln::gewichtSchritt(wert, 0.1, true);
        QCOMPARE(gewichtText(wert), QStringLiteral("71"));
    }

    void liesGewicht_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("gueltig");
        QTest::addColumn<double>("wert");
        QTest::newRow("komma") << "70,5" << true << 70.5;
        QTest::newRow("punkt wie komma") << "70.5" << true << 70.5;
        QTest::newRow("ganz") << "71" << true << 71.0;
        QTest::newRow("blanks") << " 80 " << true << 80.0;
        QTest::newRow("kein tausender") << "1.000" << true << 1.0;
        QTest::newRow("zwei trenner") << "7.5.3" << false << 0.0;
        QTest::newRow("leer") << "" << false << 0.0;
        QTest::newRow("nur komma") << "," << false << 0.0;
        QTest::newRow("komma am ende") << "70," << false << 0.0;
        QTest::newRow("exponent") << "1e3" << false << 0.0;
        QTest::newRow("minus") << "-5" << false << 0.0;
    }
    void liesGewicht() {
        QFETCH(QString, text);
        QFETCH(bool, gueltig);
        QFETCH(double, wert);
        const auto gelesen = eingaberegeln::liesGewicht(text);
        QCOMPARE(gelesen.has_value(), gueltig);
        if (gueltig) QCOMPARE(*gelesen, wert);
    }

    void mittelwertText_data() {
        QTest::addColumn<double>("mittel");
        QTest::addColumn<QString>("text");
        QTest::newRow("80") << 80.0 << "Monatlicher Mittelwert: 80,0 Kg";
        QTest::newRow("gerundet") << 72.46 << "Monatlicher Mittelwert: 72,5 Kg";
        QTest::newRow("tausender") << 1234.56 << "Monatlicher Mittelwert: 1.234,6 Kg";
    }
    void mittelwertText() {
        QFETCH(double, mittel);
        QFETCH(QString, text);
        QCOMPARE(eingaberegeln::mittelwertText(mittel), text);
    }

    void zahlFelder_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("tag einstellig") << "tag"
                                        << "7"
                                        << "07";
        QTest::newRow("tag leer") << "tag"
                                  << ""
                                  << "01";
        QTest::newRow("tag vierstellig") << "tag"
                                         << "1234"
                                         << "01";
        QTest::newRow("tag dreistellig bleibt") << "tag"
                                                << "015"
                                                << "015";
        QTest::newRow("jahr dreistellig") << "jahr"
                                          << "202"
                                          << "1900";
        QTest::newRow("jahr leer") << "jahr"
                                   << ""
                                   << "1900";
        QTest::newRow("jahr vierstellig") << "jahr"
                                          << "2024"
                                          << "2024";
        QTest::newRow("wert leer") << "wert"
                                   << ""
                                   << "1";
        QTest::newRow("wert bleibt") << "wert"
                                     << "0"
                                     << "0";
    }
    void zahlFelder() {
        QFETCH(QString, art);
        QFETCH(QString, text);
        QFETCH(QString, erwartet);
        const QString normal = art == QLatin1String("tag")    ? tagOderMonatNormal(text)
                               : art == QLatin1String("jahr") ? jahrNormal(text)
                                                              : wertNormal(text);
        QCOMPARE(normal, erwartet);
    }

    void naechsterSlot_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("aktiv");
        QTest::addColumn<int>("erwartet");
        QTest::newRow("alle") << 1 << "1111" << 2;
        QTest::newRow("abends zu morgens") << 4 << "1111" << 1;
        QTest::newRow("M2 M3 aus: morgens") << 1 << "1001" << 4;
        QTest::newRow("M2 M3 aus: abends") << 4 << "1001" << 1;
        QTest::newRow("nur einer") << 3 << "0010" << 3;
        QTest::newRow("aktueller abgewählt") << 2 << "1001" << 4;
    }
    void naechsterSlot() {
        QFETCH(int, slot);
        QFETCH(QString, aktiv);
        QFETCH(int, erwartet);
        std::array<bool, 4> kaesten{};
        for (int i = 0; i < 4; ++i)
            kaesten[i] = aktiv.at(i) == QLatin1Char('1');
        QCOMPARE(eingaberegeln::naechsterSlot(slot, kaesten), erwartet);
    }

    void neueZeileUndDuplikat() {
        Messwerte w{"05", "03", "2024", "07:30", "140", "90", "70", "70,5"};
        QCOMPARE(neueZeile(3, w),
                 QStringLiteral("Messung3 den  05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=70,5"));
        const QStringList liste{
            QStringLiteral("Morgens den \t05.03.2024 \tZ=07:30 \ts=140, \td=90, \tp=70, \tGewicht=0"),
            QStringLiteral("Messung3 den \t05.03.2024 \tZ=15:30 \ts=130, \td=80, \tp=66, \t")};
        QCOMPARE(findeDuplikat(liste, datumsSchluessel(3, "05", "03", "2024")), 1);
        QCOMPARE(findeDuplikat(liste, datumsSchluessel(2, "05", "03", "2024")), -1);
        QCOMPARE(findeDuplikat(liste, datumsSchluessel(1, "15", "03", "2024")), -1);
        QCOMPARE(monatAusEintrag(liste.first()), QStringLiteral("03"));
        QCOMPARE(jahrAusEintrag(liste.first()), QStringLiteral("2024"));
    }

    void felderAusEintrag_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("werte"); // day|month|year|time|sys|dia|pulse|weight or -
        QTest::newRow("listeneintrag")
            << "Messung2 den \t05.03.2024 \tZ=13:05 \ts=141, \td=91, \tp=71, \tGewicht=70,5" << 2
            << "05|03|2024|13:05|141|91|71|70,5";
        QTest::newRow("messzeile") << "Abends den 12.11.2023 Z=20:40 s=128, d=82, p=64, Gewicht=0" << 4
                                   << "12|11|2023|20:40|128|82|64|0";
        QTest::newRow("ohne gewicht")
            << "Morgens den 01.02.2024 Z=07:30 s=120, d=80, p=60" << 1 << "01|02|2024|07:30|120|80|60|-";
        QTest::newRow("leeres gewichtsstück")
            << "Messung3 den \t09.03.2024 \tZ=15:30 \ts=130, \td=85, \tp=66, \t" << 3
            << "09|03|2024|15:30|130|85|66|-";
        QTest::newRow("ohne schlüssel") << "Morgens den 01.02.2024" << 1 << "01|02|2024|||||-";
    }
    void felderAusEintrag() {
        QFETCH(QString, text);
        QFETCH(int, slot);
        QFETCH(QString, werte);
        const Felder f = eingaberegeln::felderAusEintrag(text);
        const QStringList teile = werte.split('|');
        QCOMPARE(f.slot, slot);
        QCOMPARE(QStringList({f.tag, f.monat, f.jahr, f.zeit, f.sys, f.dia, f.puls}), teile.mid(0, 7));
        QCOMPARE(f.gewicht.value_or(QStringLiteral("-")), teile.at(7));
    }

    void touchSchritt_data() {
        QTest::addColumn<int>("ziel");
        QTest::addColumn<int>("wert");
        QTest::addColumn<bool>("hoch");
        QTest::addColumn<QString>("text");
        QTest::newRow("tag 02 ab") << int(TouchZiel::Tag) << 2 << false << "01";
        QTest::newRow("tag 01 ab bleibt") << int(TouchZiel::Tag) << 1 << false << "01";
        QTest::newRow("tag 31 auf bleibt") << int(TouchZiel::Tag) << 31 << true << "31";
        QTest::newRow("monat 12 auf bleibt") << int(TouchZiel::Monat) << 12 << true << "12";
        QTest::newRow("monat 9 auf") << int(TouchZiel::Monat) << 9 << true << "10";
        QTest::newRow("jahr ohne obergrenze") << int(TouchZiel::Jahr) << 9999 << true << "10000";
        QTest::newRow("jahr 1994 ab") << int(TouchZiel::Jahr) << 1994 << false << "1993";
        QTest::newRow("jahr 1993 ab bleibt") << int(TouchZiel::Jahr) << 1993 << false << "1993";
        QTest::newRow("sys 500 auf") << int(TouchZiel::Sys) << 500 << true << "501";
        QTest::newRow("sys 501 auf bleibt") << int(TouchZiel::Sys) << 501 << true << "501";
        QTest::newRow("puls 1 ab bleibt") << int(TouchZiel::Puls) << 1 << false << "1";
    }
    void touchSchritt() {
        QFETCH(int, ziel);
        QFETCH(int, wert);
        QFETCH(bool, hoch);
        QFETCH(QString, text);
        const auto z = static_cast<TouchZiel>(ziel);
        QCOMPARE(touchText(z, eingaberegeln::touchSchritt(z, wert, hoch)), text);
    }

    void uhrzeitListe_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<bool>("waehlbar");
        QTest::addColumn<bool>("uebernehmbar");
        QTest::newRow("07:30") << "07:30" << true << true;
        QTest::newRow("7:30") << "7:30" << false << false;
        QTest::newRow("99:99") << "99:99" << true << true;
        QTest::newRow("1:234") << "1:234" << true << false;
        QTest::newRow("07.30") << "07.30" << false << false;
        QTest::newRow("leer") << "" << false << false;
    }
    void uhrzeitListe() {
        QFETCH(QString, zeile);
        QFETCH(bool, waehlbar);
        QFETCH(bool, uebernehmbar);
        QCOMPARE(uhrzeitWaehlbar(zeile), waehlbar);
        QCOMPARE(istUhrzeitForm(zeile), uebernehmbar);
    }
};

int laufeEingaberegeln(int argc, char** argv) {
    EingaberegelnTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_eingaberegeln.moc"
