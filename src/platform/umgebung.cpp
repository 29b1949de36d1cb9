#include "platform/umgebung.h"

#include <QFont>
#include <QLocale>

void umgebung::einrichten() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}
