#pragma once

// A printer whose paper is a PDF file. It is a 300 dots-per-inch device: A4
// portrait is 2480 x 3508 pixels, 210 x 297 millimetres. Each job writes one
// file where the host says; pages outside the job's range are drawn nowhere.
// The file appears only when a job that reached its range ends uncancelled,
// so a cancelled or failed job never leaves a half-written document behind.

#include <cairo.h>

#include <string>
#include <vector>

#include "quelt/print/printer.h"

namespace quelt::cairo {

class CairoPdfPrinter : public CPrinter {
  public:
    static constexpr int kDpi = 300;

    CairoPdfPrinter();
    // Cancels an open job; painters still alive draw nothing from then on.
    ~CairoPdfPrinter() override;
    CairoPdfPrinter(const CairoPdfPrinter &) = delete;
    CairoPdfPrinter &operator=(const CairoPdfPrinter &) = delete;

    // Where the next job writes; empty (the default) means nowhere.
    void SetOutputPath(std::string path) { m_path = std::move(path); }
    const std::string &GetOutputPath() const { return m_path; }
    // Millimetres; the paper has none until set.
    void SetMargins(size<int> leftTop, size<int> rightBottom);

    // --- ICanvas
    // A CairoPainter on the paper whose pass opens and closes a job when none
    // is open; null without an output path. It must not outlive the printer.
    quelt_ptr<IPainter> CreatePainter() override;
    // 4/5 the pixels, 6/7 the millimetres of the paper (orientation applied),
    // 8 the dots per inch, 9 the bits per pixel (1 in monochrome).
    int GetCanvasMetrics(CanvasMetrics index) const override;

    // --- job
    void BeginDoc(IPainter *painter) override;
    // Shows the last page and finishes the file (removed when cancelled or empty).
    void EndDoc() override;
    // Shows the page when it is in the range; the next takes the paper set now.
    bool NewPage() override;

    // --- settings
    void SetPageCount(int count) override { m_pageCount = count; }
    int GetPageCount() const override { return m_pageCount; }
    // The document's title in the file.
    void SetDocName(const wstring &name) override { m_docName = name; }
    wstring GetDocName() override { return m_docName; }
    void SetPrinterName(const wstring &name) override { m_printerName = name; }
    wstring GetPrinterName() override { return m_printerName; }
    size<int> GetMargins(bool rightBottom) override {
        return rightBottom ? m_marginsRightBottom : m_marginsLeftTop;
    }
    void SetPaperOrientation(PaperOrientation orientation) override { m_orientation = orientation; }
    PaperOrientation GetPaperOrientation() override { return m_orientation; }
    void SetPaperSize(PaperSize paper) override { m_paper = paper; }
    PaperSize GetPaperSize() override { return m_paper; }
    void SetColorMode(ColorMode mode) override { m_colorMode = mode; }
    ColorMode GetColorMode() override { return m_colorMode; }
    void SetNumCopies(int copies) override { m_copies = copies; }
    int GetNumCopies() const override { return m_copies; }
    // Headless: there is nobody to ask, so the settings stand as they are.
    bool ShowPrintDlg(const ISysWindow *) override { return true; }
    void Refresh() override {}
    void SetCollate(bool collate) override { m_collate = collate; }
    bool GetCollate() const override { return m_collate; }

  private:
    class Painter;
    friend class Painter;

    // The paper, orientation applied.
    size<int> PaperMM() const;
    size<int> PaperPixels() const;
    // Opens the file when a job is printing and none is open yet.
    void OpenFile();
    // keep: move the finished file to the output path, else remove it.
    void CloseFile(bool keep);
    // Where the current page's drawing goes: the file inside the range, else nowhere.
    cairo_surface_t *PageTarget() const;
    void Attach(Painter *painter);
    void AttachAll();

    std::string m_path;
    // The file being written, named apart from the output path until it is complete.
    std::string m_partPath;
    cairo_surface_t *m_pdf = nullptr;
    // Takes the drawing of pages outside the range.
    cairo_surface_t *m_void = nullptr;
    std::vector<Painter *> m_painters;
    size<int> m_marginsLeftTop;
    size<int> m_marginsRightBottom;
    int m_pageCount = 0;
    wstring m_docName;
    wstring m_printerName;
    PaperOrientation m_orientation = Portrait;
    PaperSize m_paper = PaperA4;
    ColorMode m_colorMode = ColorPrint;
    int m_copies = 1;
    bool m_collate = false;
};

}  // namespace quelt::cairo
