#pragma once
// One running Korvane per set-up. The first start holds a lock and listens on a local socket in
// a folder that is the user's own; a later start hands its table over there and ends, so two
// processes never rewrite the same month table.
#include <QObject>
#include <QString>
#include <functional>

class QLocalSocket;
class QSocketNotifier;

class Einzelstart : public QObject {
    Q_OBJECT
public:
    enum class Ergebnis {
        Erster,     // this start runs; it holds the lock and takes hand-overs (or runs alone)
        Uebergeben, // the running Korvane took the table
        Besetzt,    // another Korvane holds the lock but took nothing in time
        Abgebrochen // abbrechen() said so while waiting (a signal)
    };

    // schluessel tells this set-up from another (settings file and program folder), so two
    // set-ups such as parallel test runs never reach each other.
    explicit Einzelstart(const QString& schluessel, QObject* parent = nullptr);
    ~Einzelstart() override;

    // tabelle: an absolute path, or empty to bring the running window forward. Waits at most
    // wartezeitMs for the running Korvane to answer, asking abbrechen() every 100 ms.
    Ergebnis beginne(const QString& tabelle, int wartezeitMs = 10000, std::function<bool()> abbrechen = {});

    // Asked before each hand-over is taken; while it says no (the window is closing), a later
    // start is turned away and waits for the lock instead.
    void setzeAnnahme(std::function<bool()> nimmtAn) { m_nimmtAn = std::move(nimmtAn); }

    // Empty where no folder of the user's own could be had: then every start runs alone.
    QString socketPfad() const { return m_basis; }
    QString sperrPfad() const { return m_basis.isEmpty() ? QString() : m_basis + QStringLiteral(".lock"); }

Q_SIGNALS:
    // A later start handed this over (empty: only bring the window forward).
    void tabelleErhalten(const QString& pfad);

private:
    enum class Sperre { Gehalten, Besetzt, Unmoeglich };
    Sperre sperren();
    void horchen();
    void annehmen();
    bool uebergeben(const QString& tabelle, int ms, const std::function<bool()>& abbrechen);
    void lesen(QLocalSocket* verbindung);

    QString m_basis;
    int m_sperre = -1;
    int m_horcher = -1;
    QSocketNotifier* m_melder = nullptr;
    int m_verbindungen = 0;
    std::function<bool()> m_nimmtAn;
};

// A lock in the data folder itself: a window holds it while it runs, the command line's import takes
// it for its work, so the import never runs beside a window that holds a month's list, whatever
// runtime folder or settings each process sees. The kernel drops it with the process.
class Datensperre {
public:
    Datensperre() = default;
    Datensperre(const Datensperre&) = delete;
    Datensperre& operator=(const Datensperre&) = delete;
    ~Datensperre();
    // Takes the lock, waiting at most wartezeitMs; false while another process holds it. A data
    // folder that holds no lock file (it cannot be written) is nothing to coordinate: true.
    bool nimm(const QString& datenOrdner, int wartezeitMs = 0);

private:
    int m_fd = -1;
};
