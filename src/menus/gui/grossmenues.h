#pragma once
// The large-button menus for touch screens: six small windows whose buttons run the commands of
// the main window's menu. A button has no logic of its own beyond opening, closing and one
// confirmation; it is enabled exactly while its command is.
#include <QHash>
#include <QList>
#include <QObject>
#include <QWidget>
#include <functional>

class QAction;
class QKeyEvent;
class QGroupBox;
class QPushButton;

// A menu window: caption, fixed client size, not resizable, centred on the screen when shown.
class TMenueFenster : public QWidget {
    Q_OBJECT
public:
    TMenueFenster(const char* name, const QString& titel, QSize innen, QWidget* parent);
    void zeigeMittig();

protected:
    // Escape closes the window, as it closes every dialog.
    void keyPressEvent(QKeyEvent* ereignis) override;
    // A button in its place, with the menus' large bold font.
    QPushButton* knopf(const char* name, const QString& text, const QRect& ort, QWidget* eltern);
    // The group box that holds the buttons of a second-level window.
    QGroupBox* gruppe();
};

class TMenueForm : public TMenueFenster {
    Q_OBJECT
public:
    explicit TMenueForm(QWidget* parent);
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7;
};

class TMDateiForm : public TMenueFenster {
    Q_OBJECT
public:
    explicit TMDateiForm(QWidget* parent);
    QGroupBox* GroupBox1;
    QPushButton *Button9, *Button1, *Button8, *Button2, *Button3, *Button4, *Button5, *Button6, *Button10,
        *Button7;
};

class TMMDateiForm : public TMenueFenster {
    Q_OBJECT
public:
    explicit TMMDateiForm(QWidget* parent);
    QGroupBox* GroupBox1;
    QPushButton *Button1, *Button2, *Button3;
};

class TMTabelleForm : public TMenueFenster {
    Q_OBJECT
public:
    explicit TMTabelleForm(QWidget* parent);
    QGroupBox* GroupBox1;
    QPushButton *Button1, *Button2, *Button3;
};

class TMOptionenForm : public TMenueFenster {
    Q_OBJECT
public:
    explicit TMOptionenForm(QWidget* parent);
    QGroupBox* GroupBox1;
    QPushButton* Button1;
};

class TMHilfeForm : public TMenueFenster {
    Q_OBJECT
public:
    explicit TMHilfeForm(QWidget* parent);
    QGroupBox* GroupBox1;
    QPushButton *Button1, *Button2;
};

// The six windows, created once, and what each button does.
class TGrossMenues : public QObject {
    Q_OBJECT
public:
    // The windows are children of fenster, so they die with it.
    explicit TGrossMenues(QWidget* fenster);

    // What a button does besides running its command.
    enum class Art {
        Zeigen,          // shows another menu window
        MenueSchliessen, // closes TMenueForm first
        Offen,           // the menus stay open
        AlleSchliessen,  // closes all six first
        Fragen,          // asks first; on Ja closes all six
    };

    // Each button is joined to the main window's command of that name (a QAction's object name)
    // and follows its enabled state.
    void verbinde(const std::function<QAction*(const QString& name)>& befehl);
    // Closes all six windows.
    void alleSchliessen();
    QList<TMenueFenster*> fenster() const;

    // The command a button runs (null for one that shows a window), and how.
    QAction* befehl(const QPushButton* knopf) const { return m_befehl.value(knopf); }
    Art art(const QPushButton* knopf) const { return m_art.value(knopf); }

    TMenueForm* MenueForm;
    TMDateiForm* MDateiForm;
    TMMDateiForm* MMDateiForm;
    TMTabelleForm* MTabelleForm;
    TMOptionenForm* MOptionenForm;
    TMHilfeForm* MHilfeForm;

private:
    void zeigt(QPushButton* knopf, TMenueFenster* ziel);
    void fuehrtAus(Art art, QAction* aktion);

    QHash<const QPushButton*, QAction*> m_befehl;
    QHash<const QPushButton*, Art> m_art;
};
