#pragma once

#include "config/model/ConfigState.h"
#include "config/report/ReportCanvas.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QString>

class QPrinter;

namespace vg {

// Where a report is printed. The program asks the system for its default printer; tests
// pick a PDF file of their own.
class PrinterChoice {
public:
    virtual ~PrinterChoice() = default;
    // Points `printer` where the report goes; false when there is no printer to use.
    virtual bool SelectPrinter(QPrinter& printer) = 0;
};

// The system's default printer, if one is installed.
class DefaultPrinterChoice : public PrinterChoice {
public:
    bool SelectPrinter(QPrinter& printer) override;
};

// A PDF file in place of a printer.
class PdfFileChoice : public PrinterChoice {
public:
    explicit PdfFileChoice(QString path) : Path(std::move(path)) {}
    bool SelectPrinter(QPrinter& printer) override;

private:
    QString Path;
};

void PrintToPdfFile(QPrinter& printer, const QString& path);

// The report drawn on a printer in its device units, in a fixed-pitch font.
class PrinterCanvas : public ReportCanvas {
public:
    explicit PrinterCanvas(QPrinter& printer);
    ~PrinterCanvas() override;
    PrinterCanvas(const PrinterCanvas&) = delete;
    PrinterCanvas& operator=(const PrinterCanvas&) = delete;

    int PageHeight() override;
    void SetJobTitle(const std::string& title) override;
    void SetFixedPitchFont(int pointSize) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    bool BeginDocument() override;
    void TextOut(int x, int y, const std::string& text) override;
    void NewPage() override;
    bool EndDocument() override;

private:
    QPrinter& Printer;
    QPainter Painter;
    QFont Font;
};

// The title row's date and time: the locale's short date and long time. The time zone that
// a long time may carry is left out; the row has no room for it.
QString ReportDateTimeText(const QDateTime& when, const QLocale& locale = QLocale());

// Where the report is written when no printer is installed: beside the configuration file,
// or in the CD_DATA directory for a configuration from the unit.
QString ReportPdfPath(const ConfigState& config);

} // namespace vg
