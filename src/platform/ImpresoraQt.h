#pragma once
// The printer of the printed outputs over QPrinter and QPainter: the
// system's default printer, a PDF file, or a print preview. Positions in
// twips map onto device units by the device's resolution, with the
// top-left corner of the area the device can print on as the origin.
//
// On a real printer every EndDoc ends a print job and the next drawing
// starts another. A PDF file and a preview hold one document: each job
// after the first starts on a new page of it, and Termina closes it.

#include <QPageSize>
#include <QPainter>
#include <QString>
#include <functional>
#include <memory>

#include "output/Impresora.h"

class QPrinter;
class QWidget;

namespace tobal {

// "Courier New" and "Arial" drawn with their metric-compatible Liberation
// fonts. Called by every ImpresoraQt; harmless to call again.
void InstalaSustitucionesFuentes();

class ImpresoraQt : public Impresora {
public:
    // The system's default printer; nullptr when the system has none.
    static std::unique_ptr<ImpresoraQt> Predeterminada();
    // A PDF file of A4 pages (or of the size given with PonPaginaPdf).
    static std::unique_ptr<ImpresoraQt> Pdf(const QString& fichero);
    // Over a printer owned by the caller (the print preview's), as one
    // document.
    explicit ImpresoraQt(QPrinter* impresora);
    ~ImpresoraQt() override;
    ImpresoraQt(const ImpresoraQt&) = delete;
    ImpresoraQt& operator=(const ImpresoraQt&) = delete;

    // Size of the PDF's pages, millimetres (the paper the PDF stands for).
    void PonPaginaPdf(double anchoMm, double altoMm);
    // Ends what is still open (the document of a PDF or a preview).
    void Termina();
    // Jobs ended so far.
    int Trabajos() const { return trabajos_; }
    // True when a job could not be started (a PDF file that cannot be
    // written, a printer that is gone); nothing was drawn then.
    bool Fallo() const override { return fallo_; }
    QPrinter* Dispositivo() const { return impresora_; }

    int PaperSize(int papel) override;
    int Height() const override;
    int Height(int twips) override;

protected:
    void IniciaTrabajo() override;
    void PaginaSiguiente() override;
    void TerminaTrabajo() override;
    void DibujaTexto(double x, double y, const std::string& texto) override;
    void DibujaLinea(double x1, double y1, double x2, double y2) override;
    void DibujaRectangulo(double x, double y, double ancho, double alto) override;
    double AltoLinea() override;

private:
    ImpresoraQt(QPrinter* impresora, bool propia, bool unDocumento);
    double D(double twips) const;
    QFont Fuente() const;
    bool CambiaPagina(double anchoMm, double altoMm);
    bool CambiaPagina(const QPageSize& pagina);

    QPrinter* impresora_;
    bool propia_;
    bool unDocumento_;
    bool esPdf_ = false;
    QPainter pintor_;
    int trabajos_ = 0;
    bool fallo_ = false;
};

// Shows the print preview of what `dibuja` prints; from there the user may
// print it on a printer of the system.
void VistaPrevia(QWidget* padre, const QString& titulo, const std::function<void(Impresora&)>& dibuja);

}  // namespace tobal
