#include "eingabeumgebung.h"

namespace {

const QString kMorgens05 = QStringLiteral("Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=80");

void nimmAuf(TEingabeDlg& d, int tag, const QString& zeit = QString()) {
    d.SpinEdit1->setValue(tag);
    if (!zeit.isEmpty()) d.Edit1->setText(zeit);
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
}

QStringList listenTexte(const QListWidget* liste) {
    QStringList texte;
    for (int i = 0; i < liste->count(); ++i)
        texte << liste->item(i)->text();
    return texte;
}

QString monatsMeldung(const QString& monat) {
    return "Überprüfen Sie bitte die Monatsangabe \"" + monat +
           "\" sie stimmt nicht mit den bisherigen Eintragungen überein!\r\nWenn Sie eine Tabelle für einen "
           "neuen Monat beginnen möchten, dann betätigen Sie den Schalter \r\n\"OK/Grafik zeigen\" und "
           "wählen "
           "den Menüpunkt \"Tabelle|neu erstellen (neuer Monat oder Jahr)\"\r\noder den Menüpunkt "
           "\"Datei|neu erstellen (neuer Monat oder Jahr)\"";
}

QString jahresMeldung(const QString& jahr) {
    return "Überprüfen Sie bitte die Jahresangabe \"" + jahr +
           "\" sie stimmt nicht mit den bisherigen Eintragungen überein!\r\nWenn Sie eine Tabelle für ein "
           "neues Jahr beginnen möchten, dann betätigen Sie den Schalter \r\n\"OK/Grafik zeigen\" und wählen "
           "den Menüpunkt \"Tabelle|neu erstellen (neuer Monat oder Jahr)\"\r\noder den Menüpunkt "
           "\"Datei|neu erstellen (neuer Monat oder Jahr)\"";
}

const QString k15Kg = QStringLiteral("Bitte überprüfen Sie Ihre aktuelle Gewichtsangabe. Es sind 15 Kg "
                                     "Unterschied zum bisherigen Mittelwert!");

} // namespace

class EingabeDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ersteMessungSchreibtTabelle() {
        EingabeUmgebung u(QStringLiteral("erste"));
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       QCOMPARE(d.windowTitle(), QStringLiteral("Eingabe der Korvanemesswerte"));
                       QCOMPARE(d.Label3->text(), QStringLiteral("Heute ist der 05.03.2024"));
                       QCOMPARE(d.Label4->text(), QStringLiteral("Messwerte von Anna"));
                       QCOMPARE(QStringList({d.SpinEdit1->text(), d.SpinEdit2->text(), d.SpinEdit3->text()}),
                                QStringList({"01", "03", "2024"}));
                       QCOMPARE(d.BitBtn3->text(), QStringLiteral("Morgens"));
                       QCOMPARE(d.Edit1->text(), QStringLiteral("07:30"));
                       nimmAuf(d, 5, QStringLiteral("07:40"));
                   });
        const QString pfad = u.tabelle(QStringLiteral("Anna_03_2024.tab"));
        QCOMPARE(testumgebung::lies(pfad),
                 tabellenBytes(alleSlots, {"Morgens den 05.03.2024 Z=07:40 s=140, d=90, p=70, Gewicht=0"}));
        QCOMPARE(u.z.TabellenDateiName, pfad);
        QCOMPARE(listenTexte(u.dlg->ListBox1),
                 QStringList({"Morgens den \t05.03.2024 \tZ=07:40 \ts=140, \td=90, \tp=70, \tGewicht=0"}));
        QCOMPARE(u.dlg->ListBox1->currentRow(), 0);
        QCOMPARE(u.dlg->BitBtn3->text(), QStringLiteral("Messung 2"));
        QCOMPARE(u.dlg->Edit1->text(), QStringLiteral("13:00"));
        QCOMPARE(Lies_String_aus_Registry("UhrzeitMorgens"), QStringLiteral("07:40"));
        QCOMPARE(u.neuZeichnen, 1);
        QVERIFY(testumgebung::dialoge().alleTexte().isEmpty());
    }

    void reihenfolgeNachTagUndSlot() {
        EingabeUmgebung u(QStringLiteral("reihenfolge"));
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       nimmAuf(d, 12); // Morgens 12
                       nimmAuf(d, 5);  // Messung2 05
                       QTest::mouseClick(d.BitBtn3, Qt::LeftButton);
                       nimmAuf(d, 5); // Abends 05
                       nimmAuf(d, 5); // Morgens 05
                   });
        QCOMPARE(testumgebung::lies(u.tabelle(QStringLiteral("Anna_03_2024.tab"))),
                 tabellenBytes(alleSlots, {"Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=0",
                                           "Messung2 den 05.03.2024 Z=13:00 s=140, d=90, p=70, Gewicht=0",
                                           "Abends den 05.03.2024 Z=20:40 s=140, d=90, p=70, Gewicht=0",
                                           "Morgens den 12.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=0"}));
    }

    void slotsOhneM2UndM3() {
        EingabeUmgebung u(QStringLiteral("slots"));
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       QTest::mouseClick(d.CheckBoxM2, Qt::LeftButton);
                       QTest::mouseClick(d.CheckBoxM3, Qt::LeftButton);
                       nimmAuf(d, 5);
                       QCOMPARE(d.BitBtn3->text(), QStringLiteral("Abends"));
                       QCOMPARE(d.Edit1->text(), QStringLiteral("20:40"));
                       nimmAuf(d, 5);
                       QCOMPARE(d.BitBtn3->text(), QStringLiteral("Morgens"));
                   });
        QCOMPARE(testumgebung::lies(u.tabelle(QStringLiteral("Anna_03_2024.tab"))),
                 tabellenBytes({"1M=1", "2M=0", "3M=0", "4M=1"},
                               {"Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=0",
                                "Abends den 05.03.2024 Z=20:40 s=140, d=90, p=70, Gewicht=0"}));
    }

    void einSlotBleibtImmerGewaehlt() {
        EingabeUmgebung u(QStringLiteral("letzterslot"));
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       for (QCheckBox* k : {d.CheckBoxM1, d.CheckBoxM2, d.CheckBoxM4, d.CheckBoxM3})
                           QTest::mouseClick(k, Qt::LeftButton);
                       QVERIFY(d.CheckBoxM3->isChecked());
                   });
        QCOMPARE(u.z.slotAktiv, (std::array<bool, 4>{false, false, true, false}));
    }

    void doppelterEintragWirdAbgewiesen() {
        EingabeUmgebung u(QStringLiteral("doppelt"));
        const QString pfad = u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"), {kMorgens05});
        const QByteArray vorher = testumgebung::lies(pfad);
        u.imDialog([&] { return u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) { nimmAuf(d, 5); });
        QCOMPARE(
            testumgebung::dialoge().texte(TestDialoge::Art::Information),
            QStringList({"Ein Eintrag mit dem Datum: Morgens den 05.03.2024 existiert schon in der Liste!"}));
        QCOMPARE(u.z.ListBox1.size(), 1);
        QCOMPARE(testumgebung::lies(pfad), vorher);
    }

    void monatOderJahrWeichtAb_data() {
        QTest::addColumn<int>("monat");
        QTest::addColumn<int>("jahr");
        QTest::addColumn<QStringList>("meldungen");
        QTest::newRow("monat") << 4 << 2024 << QStringList{monatsMeldung("04")};
        QTest::newRow("jahr") << 3 << 2025 << QStringList{jahresMeldung("2025")};
        QTest::newRow("beide") << 4 << 2025 << QStringList{monatsMeldung("04"), jahresMeldung("2025")};
    }
    void monatOderJahrWeichtAb() {
        QFETCH(int, monat);
        QFETCH(int, jahr);
        QFETCH(QStringList, meldungen);
        EingabeUmgebung u(QStringLiteral("abweichung"));
        const QString pfad = u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"), {kMorgens05});
        const QByteArray vorher = testumgebung::lies(pfad);
        u.imDialog([&] { return u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) {
                       d.SpinEdit2->setValue(monat);
                       d.SpinEdit3->setValue(jahr);
                       nimmAuf(d, 6);
                   });
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Information), meldungen);
        QCOMPARE(testumgebung::lies(pfad), vorher);
        QCOMPARE(u.z.ListBox1.size(), 1);
        QVERIFY(!QDir(u.z.tabellenOrdner + "2025").exists());
        QCOMPARE(QDir(u.z.tabellenOrdner + "2024").entryList(QDir::Files), QStringList{"Anna_03_2024.tab"});
    }

    void gewichtGegenMittelwert_data() {
        QTest::addColumn<double>("mittel");
        QTest::addColumn<bool>("eingabe");
        QTest::addColumn<QString>("gewicht");
        QTest::addColumn<QString>("gespeichert"); // empty: refused
        QTest::addColumn<QColor>("farbe");
        QTest::newRow("95 bei 80") << 80.0 << true << "95"
                                   << "" << QColor(255, 0, 0);
        QTest::newRow("65 bei 80") << 80.0 << true << "65"
                                   << "" << QColor(255, 0, 0);
        QTest::newRow("94,9 bei 80") << 80.0 << true << "94,9"
                                     << "94,9" << QColor(0, 0, 255);
        QTest::newRow("ohne mittel") << 0.0 << true << "150"
                                     << "150" << QColor();
        QTest::newRow("eingabe aus") << 80.0 << false << "95"
                                     << "0" << QColor(128, 128, 128);
    }
    void gewichtGegenMittelwert() {
        QFETCH(double, mittel);
        QFETCH(bool, eingabe);
        QFETCH(QString, gewicht);
        QFETCH(QString, gespeichert);
        QFETCH(QColor, farbe);
        EingabeUmgebung u(QStringLiteral("mittel"));
        const QString pfad = u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"), {kMorgens05});
        u.imDialog([&] { return u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) {
                       u.grafik->MonatsMittelGewicht = mittel;
                       if (eingabe) QTest::mouseClick(d.GewichtsEingabeCheckBox, Qt::LeftButton);
                       d.GewichtEdit->setText(gewicht);
                       if (farbe.isValid())
                           QCOMPARE(d.GewichtInfoLabel->palette().color(QPalette::WindowText), farbe);
                       nimmAuf(d, 6);
                   });
        const QStringList infos = testumgebung::dialoge().texte(TestDialoge::Art::Information);
        const auto zeilen = textdatei::liesZeilen(pfad);
        if (gespeichert.isEmpty()) {
            QCOMPARE(infos, QStringList{k15Kg});
            QCOMPARE(zeilen->size(), 9);
        } else {
            QVERIFY(infos.isEmpty());
            QCOMPARE(zeilen->last(),
                     "Morgens den 06.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=" + gespeichert);
        }
    }

    void gewichtstextWirdGeprueft_data() {
        QTest::addColumn<QString>("getippt");     // the field allows "." but shows "," after a step
        QTest::addColumn<QString>("gespeichert"); // empty: refused
        QTest::newRow("punkt wie komma") << "72.5"
                                         << "72,5";
        QTest::newRow("komma") << "72,5"
                               << "72,5";
        QTest::newRow("zwei punkte") << "7.5.3"
                                     << "";
        QTest::newRow("punkt am ende") << "72."
                                       << "";
    }
    void gewichtstextWirdGeprueft() {
        QFETCH(QString, getippt);
        QFETCH(QString, gespeichert);
        EingabeUmgebung u(QStringLiteral("gewichtstext"));
        const QString pfad = u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"), {kMorgens05});
        const QByteArray vorher = testumgebung::lies(pfad);
        u.imDialog([&] { return u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) {
                       QTest::mouseClick(d.GewichtsEingabeCheckBox, Qt::LeftButton);
                       d.GewichtEdit->setText(getippt);
                       d.Edit1->setText(QStringLiteral("07:45"));
                       nimmAuf(d, 6);
                   });
        if (gespeichert.isEmpty()) {
            const QStringList warnungen = testumgebung::dialoge().texte(TestDialoge::Art::Warnung);
            QCOMPARE(warnungen.size(), 1);
            QVERIFY(warnungen.first().contains("\"" + getippt + "\""));
            QCOMPARE(testumgebung::lies(pfad), vorher);
            QCOMPARE(Lies_String_aus_Registry("UhrzeitMorgens"), QStringLiteral("07:30"));
        } else {
            QCOMPARE(textdatei::liesZeilen(pfad)->last(),
                     "Morgens den 06.03.2024 Z=07:45 s=140, d=90, p=70, Gewicht=" + gespeichert);
        }
    }

    void zeitOhneFormWirdAbgewiesen() {
        EingabeUmgebung u(QStringLiteral("zeitform"));
        u.imDialog([&] { return u.dlg->neuerMonat(); }, [&](TEingabeDlg& d) { nimmAuf(d, 5, "7:5"); });
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Information),
                 QStringList{"Falsche Eingabe der Uhrzeit.   Beispiel für richtige Eingabe: 06:00"});
        QVERIFY(!QFile::exists(u.tabelle(QStringLiteral("Anna_03_2024.tab"))));
        QCOMPARE(Lies_String_aus_Registry("UhrzeitMorgens"), QStringLiteral("07:30"));
    }

    void gewichtUeber310() {
        EingabeUmgebung u(QStringLiteral("310"));
        const QString pfad = u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"), {kMorgens05});
        u.imDialog([&] { return u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) {
                       u.grafik->MonatsMittelGewicht = 80;
                       QTest::mouseClick(d.GewichtsEingabeCheckBox, Qt::LeftButton);
                       d.GewichtEdit->setText(QStringLiteral("400"));
                       QCOMPARE(d.GewichtEdit->text(), QStringLiteral("310"));
                       QCOMPARE(d.gewichtWert(), 310.0);
                       QCOMPARE(d.GewichtInfoLabel->text(),
                                QStringLiteral("Monatlicher Mittelwert: 80,0 Kg"));
                   });
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Information),
                 QStringList{"Die Eingabe von mehr als 310 Kilogramm ist nicht möglich!"});
    }

    void gewichtSchrittBeginntBeimWert() {
        EingabeUmgebung u(QStringLiteral("gewichtschritt"));
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       QVERIFY(!d.GewichtEdit->isEnabled());
                       QTest::mouseClick(d.GewichtsEingabeCheckBox, Qt::LeftButton);
                       QVERIFY(d.GewichtEdit->isEnabled());
                       d.GewichtEdit->setText(QStringLiteral("80"));
                       QTest::mouseClick(d.RadioButton2, Qt::LeftButton);
                       QTest::mouseClick(d.SpinButton2->auf, Qt::LeftButton);
                       QCOMPARE(d.GewichtEdit->text(), QStringLiteral("71,5"));
                       d.GewichtEdit->clear();
                       QCOMPARE(d.GewichtEdit->text(), QStringLiteral("1"));
                   });
    }

    void zeitSchrittMitPfeilen() {
        EingabeUmgebung u(QStringLiteral("zeitschritt"));
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       d.Edit1->setText(QStringLiteral("23:50"));
                       QStringList gesehen;
                       for (QToolButton* pfeil :
                            {d.SpinButton1->auf, d.SpinButton1->auf, d.SpinButton1->ab, d.SpinButton1->ab}) {
                           QTest::mouseClick(pfeil, Qt::LeftButton);
                           gesehen << d.Edit1->text();
                       }
                       QCOMPARE(gesehen, QStringList({"24:00", "00:10", "00:00", "24:00"}));
                   });
    }

    void zahlFelderBeimTippen_data() {
        QTest::addColumn<int>("feld");
        QTest::addColumn<QString>("tasten"); // "<" is Backspace
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("tag 7") << 1 << "7"
                               << "07";
        QTest::newRow("jahr 202") << 3 << "202"
                                  << "1900";
        QTest::newRow("monat leer") << 2 << "<"
                                    << "01";
        QTest::newRow("systolisch leer") << 4 << "<"
                                         << "1";
        QTest::newRow("buchstabe") << 6 << "x"
                                   << "";
        QTest::newRow("pfeil auf ändert nichts") << 5 << "^"
                                                 << "90";
    }
    void zahlFelderBeimTippen() {
        QFETCH(int, feld);
        QFETCH(QString, tasten);
        QFETCH(QString, erwartet);
        EingabeUmgebung u(QStringLiteral("tippen"));
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       ZahlFeld* felder[] = {d.SpinEdit1, d.SpinEdit2, d.SpinEdit3,
                                             d.SpinEdit4, d.SpinEdit5, d.SpinEdit6};
                       ZahlFeld* f = felder[feld - 1];
                       const QString vorher = f->text();
                       if (tasten != QLatin1String("^")) f->selectAll();
                       for (QChar c : tasten) {
                           if (c == QLatin1Char('<'))
                               QTest::keyClick(f, Qt::Key_Backspace);
                           else if (c == QLatin1Char('^'))
                               QTest::keyClick(f, Qt::Key_Up);
                           else
                               QTest::keyClicks(f, QString(c));
                       }
                       QCOMPARE(f->text(), erwartet.isEmpty() ? vorher : erwartet);
                   });
    }

    void zeitUndGewichtFeldFiltern() {
        EingabeUmgebung u(QStringLiteral("filter"));
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       d.Edit1->setText(QStringLiteral("07:3"));
                       QTest::keyClicks(d.Edit1, QStringLiteral("x.5:"));
                       QCOMPARE(d.Edit1->text(), QStringLiteral("07:35:"));
                       QTest::mouseClick(d.GewichtsEingabeCheckBox, Qt::LeftButton);
                       d.GewichtEdit->setText(QStringLiteral("70"));
                       QTest::keyClicks(d.GewichtEdit, QStringLiteral(",:.5a"));
                       QCOMPARE(d.GewichtEdit->text(), QStringLiteral("70.5"));
                   });
    }

    void bearbeitenNimmtEintragHeraus() {
        EingabeUmgebung u(QStringLiteral("bearbeiten"));
        const QString pfad =
            u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"),
                            {kMorgens05, "Abends den 05.03.2024 Z=20:40 s=135, d=85, p=66, Gewicht=72,5",
                             "Morgens den 06.03.2024 Z=07:10 s=150, d=95, p=75, Gewicht=0"});
        testumgebung::dialoge().fragen.push_back(true);
        u.imDialog([&] { return u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) {
                       d.ListBox1->setCurrentRow(1);
                       QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
                       QCOMPARE(d.BitBtn3->text(), QStringLiteral("Abends"));
                       QCOMPARE(QStringList({d.SpinEdit1->text(), d.SpinEdit2->text(), d.SpinEdit3->text(),
                                             d.Edit1->text(), d.SpinEdit4->text(), d.SpinEdit5->text(),
                                             d.SpinEdit6->text(), d.GewichtEdit->text()}),
                                QStringList({"05", "03", "2024", "20:40", "135", "85", "66", "72,5"}));
                       QCOMPARE(d.gewichtWert(), 72.5);
                       QCOMPARE(d.ListBox1->count(), 2);
                   });
        QCOMPARE(
            testumgebung::dialoge().texte(TestDialoge::Art::Frage),
            QStringList{"Der ausgewählte Eintrag wird in der Liste gelöscht und die einzelnen Werte in die "
                        "Eingabefelder zum Bearbeiten eingetragen. Möchten Sie das?"});
        QCOMPARE(testumgebung::lies(pfad),
                 tabellenBytes(alleSlots,
                               {kMorgens05, "Morgens den 06.03.2024 Z=07:10 s=150, d=95, p=75, Gewicht=0"}));
    }

    void bearbeitenOhneAuswahlOderOhneJa_data() {
        QTest::addColumn<int>("zeile");
        QTest::addColumn<QStringList>("infos");
        QTest::newRow("ohne auswahl")
            << -1 << QStringList{"Sie müssen zuerst einen Eintrag in der Liste durch Anklicken auswählen!"};
        QTest::newRow("nein") << 0 << QStringList{};
    }
    void bearbeitenOhneAuswahlOderOhneJa() {
        QFETCH(int, zeile);
        QFETCH(QStringList, infos);
        EingabeUmgebung u(QStringLiteral("bearbeitennein"));
        const QString pfad = u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"), {kMorgens05});
        const QByteArray vorher = testumgebung::lies(pfad);
        testumgebung::dialoge().fragen.push_back(false);
        u.imDialog([&] { return u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) {
                       d.ListBox1->clearSelection();
                       if (zeile >= 0) d.ListBox1->setCurrentRow(zeile);
                       QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
                   });
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Information), infos);
        QCOMPARE(u.z.ListBox1.size(), 1);
        QCOMPARE(testumgebung::lies(pfad), vorher);
    }

    void letzterEintragBearbeitetBleibtAufPlatte() {
        EingabeUmgebung u(QStringLiteral("letzter"));
        const QString pfad = u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"), {kMorgens05});
        const QByteArray vorher = testumgebung::lies(pfad);
        int anpassen = 0;
        QObject::connect(u.dlg.get(), &TEingabeDlg::hauptfensterAnpassen, [&] { ++anpassen; });
        testumgebung::dialoge().fragen.push_back(true);
        int ergebnis = -1;
        u.imDialog([&] { return ergebnis = u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) {
                       d.ListBox1->setCurrentRow(0);
                       QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
                       QCOMPARE(d.ListBox1->count(), 0);
                       QTest::mouseClick(d.OKBtn, Qt::LeftButton);
                   });
        QCOMPARE(ergebnis, int(QDialog::Accepted));
        QCOMPARE(anpassen, 1);
        QCOMPARE(u.neuZeichnen, 0);
        QCOMPARE(testumgebung::lies(pfad), vorher);
    }

    void vorbelegungAusLetzterZeile_data() {
        QTest::addColumn<bool>("neuerMonat");
        QTest::newRow("tabelle") << false;
        QTest::newRow("neuer monat") << true;
    }
    void vorbelegungAusLetzterZeile() {
        QFETCH(bool, neuerMonat);
        EingabeUmgebung u(QStringLiteral("vorbelegung"));
        const QString pfad = u.legeTabelleAn(QStringLiteral("Anna_03_2024.tab"), {kMorgens05});
        u.z.letzteMesszeile = QStringLiteral("Abends den 12.03.2024 Z=20:50 s=135, d=85, p=66");
        u.imDialog([&] { return neuerMonat ? u.dlg->neuerMonat() : u.dlg->tabelleBearbeiten(pfad, false); },
                   [&](TEingabeDlg& d) {
                       if (neuerMonat) {
                           QCOMPARE(d.BitBtn3->text(), QStringLiteral("Morgens"));
                           QCOMPARE(d.SpinEdit1->text(), QStringLiteral("01"));
                           return;
                       }
                       QCOMPARE(d.BitBtn3->text(), QStringLiteral("Abends"));
                       QCOMPARE(QStringList({d.SpinEdit1->text(), d.Edit1->text(), d.SpinEdit4->text(),
                                             d.SpinEdit6->text(), d.GewichtEdit->text()}),
                                QStringList({"12", "20:50", "135", "66", "0"}));
                       QCOMPARE(d.ListBox1->currentRow(), 0);
                       QVERIFY(!d.GewichtsEingabeCheckBox->isChecked());
                   });
    }

    void aktuelleOhneDateiBeginntNeuenMonat() {
        EingabeUmgebung u(QStringLiteral("aktuelle"));
        u.z.TabellenDateiName = u.tabelle(QStringLiteral("Anna_02_2024.tab"));
        u.z.ListBox1 = QStringList{QStringLiteral("alt")};
        u.imDialog([&] { return u.dlg->aktuelleBearbeiten(); },
                   [&](TEingabeDlg& d) {
                       QCOMPARE(d.ListBox1->count(), 0);
                       QCOMPARE(d.Label4->text(), QStringLiteral("Messwerte von Anna"));
                       QCOMPARE(d.SpinEdit1->text(), QStringLiteral("01"));
                   });
    }
};

int laufeEingabeDialog(int argc, char** argv) {
    EingabeDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_eingabedialog.moc"
