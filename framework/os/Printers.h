#pragma once
// The printer: a print job painted through a canvas in printer pixels.
#include "framework/graphics/Graphics.h"
#include <memory>

class QPrinter;

enum TPrinterOrientation { poPortrait, poLandscape };

// Paper sizes by their classic numbers.
constexpr int DMPAPER_LETTER = 1;
constexpr int DMPAPER_LEGAL = 5;
constexpr int DMPAPER_A3 = 8;
constexpr int DMPAPER_A4 = 9;
constexpr int DMPAPER_A5 = 11;

class TPrinter : public TObject
{
public:
    TPrinter();
    ~TPrinter() override;

    const QString &Title() const { return title_; }
    void SetTitle(const QString &v) { title_ = v; }
    // Raises EPrinter when a job is already running or the printer cannot start one.
    void BeginDoc();
    void EndDoc();
    void NewPage();
    void Abort();
    bool Aborted() const { return aborted_; }
    bool Printing() const { return printing_; }
    // The canvas of the running job; fonts on it are sized for the printer's resolution.
    TCanvas *Canvas();
    // Printable area in printer pixels.
    int PageWidth() const;
    int PageHeight() const;
    int PageNumber() const { return pageNumber_; }
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation v);
    int PaperSize() const;
    void SetPaperSize(int DmPaper);
    int XDPI() const;
    int YDPI() const;
    // Sends the job to a PDF file instead of a print queue (tests and "print to file").
    void SetOutputFileName(const QString &FileName);
    QString OutputFileName() const;
    QPrinter *QtPrinter() const { return printer_.get(); }

private:
    class TPrinterCanvas;
    void checkIdle(const char *what) const;

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<TPrinterCanvas> canvas_;
    QString title_;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
};

// The process-wide printer.
TPrinter *Printer();
