#pragma once

// A printer that records every page into a vector picture of the paper's
// size instead of reaching a device; the preview shows what it recorded.
// This header sits on the printer side: it knows no control.

#include <vector>

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/geometry.h"
#include "quelt/paint/picture.h"
#include "quelt/print/printer.h"
#include "quelt/sys/system.h"

namespace quelt {

class ISysWindow;

class QUELT_API CPreviewPrinter : public CPrinter {
  public:
    // The pictures mutex and the settings come from the current system; the
    // page-picture scale starts at window's pixels per millimetre.
    explicit CPreviewPrinter(ISysWindow *window);
    ~CPreviewPrinter() override;
    CPreviewPrinter(const CPreviewPrinter &) = delete;
    CPreviewPrinter &operator=(const CPreviewPrinter &) = delete;

    // --- canvas
    quelt_ptr<IPainter> CreatePainter() override { return nullptr; }
    // The system printer's metric; 0 without one.
    int GetCanvasMetrics(CanvasMetrics index) const override;

    // --- the job: each page holds only its own drawing
    bool NewPage() override;
    void EndDoc() override;

    // --- settings, copied from the system printer by Refresh
    void Refresh() override;
    void SetPageCount(int) override {}
    int GetPageCount() const override;
    void SetNumCopies(int) override {}
    int GetNumCopies() const override { return 1; }
    void SetCollate(bool) override {}
    bool GetCollate() const override { return true; }
    void SetFromTo(int, int) override {}
    bool ShowPrintDlg(const ISysWindow *) override { return true; }
    void SetDocName(const wstring &name) override { m_docName = name; }
    wstring GetDocName() override { return m_docName; }
    void SetPrinterName(const wstring &name) override { m_printerName = name; }
    wstring GetPrinterName() override { return m_printerName; }
    size<int> GetMargins(bool rightBottom) override { return rightBottom ? m_marginsRB : m_marginsLT; }
    void SetPaperOrientation(PaperOrientation orientation) override { m_orientation = orientation; }
    PaperOrientation GetPaperOrientation() override { return m_orientation; }
    void SetPaperSize(PaperSize paper) override { m_paper = paper; }
    PaperSize GetPaperSize() override { return m_paper; }
    void SetColorMode(ColorMode mode) override { m_colorMode = mode; }
    ColorMode GetColorMode() override { return m_colorMode; }

    // Pixels per millimetre of the page pictures made from now on; non-finite
    // or non-positive values are ignored.
    void SetScale(size<double> scale);
    size<double> GetScale() const { return m_scale; }
    // The paper in millimetres as oriented.
    size<int> GetOrientedPaperMM();
    // The picture of the page being drawn, made on first use; null when the
    // system makes none.
    IVectorPicture *GetDrawedPicture();
    // Null outside [0, count).
    IVectorPicture *GetPage(int index) const;
    // A snapshot of the recorded pages.
    std::vector<IVectorPicture *> GetPages() const;
    // Destroys every recorded picture and the current one.
    void ReleasePicturies();
    IMutex *GetPicturesMutex() const { return m_pMutex.get(); }
    // For a caller that holds the pictures mutex.
    const std::vector<IVectorPicture *> &GetPagesUnlocked() const { return m_pages; }
    ISysWindow *GetWindow() const { return m_pWindow; }

  private:
    class Lock;

    wstring m_docName;
    wstring m_printerName;
    size<double> m_scale;
    PaperSize m_paper = PaperA4;
    PaperOrientation m_orientation = Portrait;
    size<int> m_marginsLT;
    size<int> m_marginsRB;
    ColorMode m_colorMode = ColorPrint;
    quelt_ptr<IVectorPicture> m_pPicture;
    quelt_ptr<IMutex> m_pMutex;
    ISysWindow *m_pWindow;
    // The last NewPage was refused: the job is cancelled.
    bool m_refused = false;
    std::vector<IVectorPicture *> m_pages;  // owned, never null
};

}  // namespace quelt
