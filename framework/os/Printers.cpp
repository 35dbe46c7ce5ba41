#include "framework/os/Printers.h"
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

class TPrinter::TPrinterCanvas : public TCanvas
{
public:
    explicit TPrinterCanvas(TPrinter *owner) : owner_(owner) {}
    void release() { FreeHandle(); }

protected:
    QPainter *CreatePainter() override
    {
        if (!owner_->printing_)
            return nullptr;
        return new QPainter(owner_->printer_.get());
    }

private:
    TPrinter *owner_;
};

TPrinter::TPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), canvas_(std::make_unique<TPrinterCanvas>(this))
{
    printer_->setFullPage(false);
}

TPrinter::~TPrinter()
{
    if (printing_)
        Abort();
}

void TPrinter::checkIdle(const char *what) const
{
    if (printing_)
        throw EPrinter(QStringLiteral("Cannot change the %1 while printing").arg(QLatin1String(what)));
}

void TPrinter::BeginDoc()
{
    if (printing_)
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (printer_->outputFormat() == QPrinter::NativeFormat && printer_->printerName().isEmpty())
        throw EPrinter(QStringLiteral("There is no default printer currently selected"));
    printer_->setDocName(title_);
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
    QPainter *p = canvas_->Painter();
    if (!p || !p->isActive()) {
        canvas_->release();
        printing_ = false;
        pageNumber_ = 0;
        throw EPrinter(QStringLiteral("Printer \"%1\" cannot start the print job").arg(
            printer_->outputFileName().isEmpty() ? printer_->printerName() : printer_->outputFileName()));
    }
    canvas_->Font()->SetPixelsPerInch(printer_->logicalDpiY());
}

void TPrinter::EndDoc()
{
    if (!printing_)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    canvas_->release();
    printing_ = false;
    canvas_->Font()->SetPixelsPerInch(96);
}

void TPrinter::NewPage()
{
    if (!printing_)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    if (!printer_->newPage())
        throw EPrinter(QStringLiteral("The printer could not start a new page"));
    ++pageNumber_;
}

void TPrinter::Abort()
{
    if (!printing_)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    printer_->abort();
    canvas_->release();
    printing_ = false;
    aborted_ = true;
    canvas_->Font()->SetPixelsPerInch(96);
}

TCanvas *TPrinter::Canvas() { return canvas_.get(); }

int TPrinter::PageWidth() const { return printer_->pageLayout().paintRectPixels(printer_->resolution()).width(); }
int TPrinter::PageHeight() const { return printer_->pageLayout().paintRectPixels(printer_->resolution()).height(); }

TPrinterOrientation TPrinter::Orientation() const
{
    return printer_->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation v)
{
    if (v == Orientation())
        return;
    checkIdle("orientation");
    printer_->setPageOrientation(v == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

namespace {
const std::pair<int, QPageSize::PageSizeId> kPapers[] = {
    {DMPAPER_LETTER, QPageSize::Letter}, {DMPAPER_LEGAL, QPageSize::Legal}, {DMPAPER_A3, QPageSize::A3},
    {DMPAPER_A4, QPageSize::A4}, {DMPAPER_A5, QPageSize::A5},
};
} // namespace

int TPrinter::PaperSize() const
{
    const QPageSize::PageSizeId id = printer_->pageLayout().pageSize().id();
    for (const auto &[dm, q] : kPapers)
        if (q == id)
            return dm;
    return 0;
}

void TPrinter::SetPaperSize(int DmPaper)
{
    checkIdle("paper size");
    for (const auto &[dm, q] : kPapers)
        if (dm == DmPaper) {
            printer_->setPageSize(QPageSize(q));
            return;
        }
    throw EPrinter(QStringLiteral("Paper size %1 is not supported").arg(DmPaper));
}

int TPrinter::XDPI() const { return printer_->logicalDpiX(); }
int TPrinter::YDPI() const { return printer_->logicalDpiY(); }

void TPrinter::SetOutputFileName(const QString &FileName)
{
    checkIdle("output file");
    printer_->setOutputFormat(FileName.isEmpty() ? QPrinter::NativeFormat : QPrinter::PdfFormat);
    printer_->setOutputFileName(FileName);
}

QString TPrinter::OutputFileName() const { return printer_->outputFileName(); }

TPrinter *Printer()
{
    static TPrinter instance;
    return &instance;
}
