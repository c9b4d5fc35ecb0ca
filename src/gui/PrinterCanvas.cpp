#include "gui/PrinterCanvas.h"

#include "config/files/FilePaths.h"
#include "gui/TextCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPrinter>
#include <QPrinterInfo>

namespace vg {

bool DefaultPrinterChoice::SelectPrinter(QPrinter& printer) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return false;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(info.printerName());
    return true;
}

bool PdfFileChoice::SelectPrinter(QPrinter& printer) {
    PrintToPdfFile(printer, Path);
    return true;
}

void PrintToPdfFile(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    // A file has no unprintable edge: the report's own margins are the page's.
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

PrinterCanvas::PrinterCanvas(QPrinter& printer) : Printer(printer) {}

PrinterCanvas::~PrinterCanvas() {
    // a job left open would hold the file or the printer
    if (Painter.isActive()) {
        Painter.end();
    }
}

int PrinterCanvas::PageHeight() {
    return Printer.height();
}

void PrinterCanvas::SetJobTitle(const std::string& title) {
    Printer.setDocName(FromAnsi(title));
}

void PrinterCanvas::SetFixedPitchFont(int pointSize) {
    // Only pitch and size are asked for; the face is whatever fixed-pitch face the system has.
    Font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    Font.setFixedPitch(true);
    Font.setStyleHint(QFont::TypeWriter);
    Font.setPointSize(pointSize);
}

int PrinterCanvas::TextWidth(const std::string& text) {
    return QFontMetrics(Font, &Printer).horizontalAdvance(FromAnsi(text));
}

int PrinterCanvas::TextHeight(const std::string& /*text*/) {
    // a line's height, whatever letters the text has
    return QFontMetrics(Font, &Printer).height();
}

bool PrinterCanvas::BeginDocument() {
    if (!Painter.begin(&Printer)) {
        return false;
    }
    Painter.setFont(Font);
    Painter.setPen(Qt::black);
    return true;
}

void PrinterCanvas::TextOut(int x, int y, const std::string& text) {
    // (x, y) is the top left of the text; QPainter writes on the baseline
    Painter.drawText(x, y + QFontMetrics(Font, &Printer).ascent(), FromAnsi(text));
}

void PrinterCanvas::NewPage() {
    Printer.newPage();
}

bool PrinterCanvas::EndDocument() {
    return Painter.end();
}

namespace {

// A time format without its time-zone letters ('t'), quoted text kept.
QString WithoutTimeZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('t')) {
            continue;
        }
        result.append(c);
    }
    return result.trimmed();
}

} // namespace

QString ReportDateTimeText(const QDateTime& when, const QLocale& locale) {
    QString text =
        locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
        locale.toString(when.time(), WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    // the report's texts are single-byte: a narrow no-break space (before AM/PM) has no byte
    return text.replace(QChar(0x202F), QLatin1Char(' '));
}

QString ReportPdfPath(const ConfigState& config) {
    if (config.ConfigSource == ConfigSource::File && !config.ConfigFileName.empty()) {
        const QFileInfo file(QString::fromStdString(config.ConfigFileName));
        return file.dir().filePath(file.completeBaseName() + QStringLiteral(".pdf"));
    }
    const QString directory = QString::fromStdString(UnitDataFolder(config.DataDir) + "/");
    if (config.NamespaceIdValid) {
        const auto& id = config.NamespaceInfo.CU_Id;
        return directory + QStringLiteral("VGL_") +
               QString::fromLatin1(id.data(), static_cast<qsizetype>(id.size())) +
               QStringLiteral(".pdf");
    }
    return directory + QStringLiteral("VG_Configuration.pdf");
}

} // namespace vg
