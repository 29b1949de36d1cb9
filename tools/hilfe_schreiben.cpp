// Writes the user guide Korvane-Hilfe.pdf from its Markdown text.
// Usage: korvane_hilfe <text.md> <output.pdf>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>

namespace {

const QString kSchrift = QStringLiteral("DejaVu Sans");

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <text.md> <output.pdf>\n", argv[0]);
        return 2;
    }

    QFile quelle(QString::fromLocal8Bit(argv[1]));
    if (!quelle.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString text = QString::fromUtf8(quelle.readAll());
    if (text.trimmed().isEmpty()) {
        std::fprintf(stderr, "%s is empty\n", argv[1]);
        return 1;
    }

    // A substitute font would still render, but umlauts and the page look are only checked with this one.
    QFont schrift(kSchrift, 10);
    if (QFontInfo(schrift).family().compare(kSchrift, Qt::CaseInsensitive) != 0) {
        std::fprintf(stderr, "font \"%s\" not installed\n", qPrintable(kSchrift));
        return 1;
    }

    QTextDocument dokument;
    dokument.setDefaultFont(schrift);
    dokument.setMarkdown(text, QTextDocument::MarkdownDialectGitHub);
    dokument.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Korvane-Hilfe"));

    // Written whole and renamed at the end, so a failed run never leaves half a PDF behind.
    QSaveFile ziel(QString::fromLocal8Bit(argv[2]));
    if (!ziel.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    {
        QPdfWriter pdf(&ziel);
        pdf.setTitle(QStringLiteral("Korvane-Hilfe"));
        pdf.setCreator(QStringLiteral("Korvane"));
        // print() adds a 2 cm frame of its own inside these margins and numbers the pages in it.
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(2, 2, 2, 2),
                                      QPageLayout::Millimeter));
        dokument.print(&pdf);
    }
    if (!ziel.commit()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
