// cw_make_manual IN.md OUT.pdf: typesets the user manual, written in Markdown, as an A4 PDF.
// The build runs it so that the Help command finds the PDF beside the program.

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

const char* const kUsage = "Usage: cw_make_manual IN.md OUT.pdf\n";

struct ManualError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

QString ReadMarkdown(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ManualError(QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()).toStdString());
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        throw ManualError(QStringLiteral("%1 is not UTF-8 text").arg(fileName).toStdString());
    if (text.trimmed().isEmpty())
        throw ManualError(QStringLiteral("%1 is empty").arg(fileName).toStdString());
    return text;
}

// Markdown tables come without rules between the cells, which makes the menu and key tables hard
// to read on paper: give every table thin borders, some padding and the full width.
void FormatTables(QTextDocument& document)
{
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(0.5);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(Qt::darkGray);
        format.setCellPadding(4);
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        table->setFormat(format);
    }
}

// Markdown gives a heading no more room above it than a paragraph, so one that follows a table
// sticks to it.
void SpaceHeadings(QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (format.headingLevel() == 0)
            continue;
        format.setTopMargin(std::max(format.topMargin(), 16.0 - 2 * format.headingLevel()));
        QTextCursor(block).setBlockFormat(format);
    }
}

// The text of the first level-1 heading, for the PDF's title.
QString Title(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() == 1)
            return block.text();
    return QString();
}

void WritePdf(QTextDocument& document, const QString& fileName)
{
    // Through a temporary file, so that a failed run leaves no half-written manual behind.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ManualError(QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()).toStdString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(Title(document));
        writer.setCreator(QStringLiteral("cw_make_manual"));
        // Printing a document without a page size of its own gives it 2 cm margins and page
        // numbers in the bottom margin, so the paper needs none of its own.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        document.print(&writer);
    }
    if (!file.commit())
        throw ManualError(QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()).toStdString());
}

} // namespace

int main(int argc, char** argv)
{
    // Typesetting needs fonts, not a screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    try {
        QTextDocument document;
        QFont font(QStringLiteral("DejaVu Sans"), 10);
        font.setStyleHint(QFont::SansSerif);
        document.setDefaultFont(font);
        document.setMarkdown(ReadMarkdown(args[0]));
        FormatTables(document);
        SpaceHeadings(document);
        WritePdf(document, args[1]);
    } catch (const ManualError& e) {
        std::fprintf(stderr, "cw_make_manual: %s\n", e.what());
        return 1;
    }
    return 0;
}
