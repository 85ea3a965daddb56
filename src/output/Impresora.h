#pragma once
// The printer as the printed outputs see it: a current position in twips
// (1440 per inch) from the top-left corner of the printable page, a font,
// a line width, text, relative lines, filled rectangles, pages and jobs.
// Texts are Windows-1252 byte strings, so that fixed-width layouts count
// one byte per character.
//
// Pages and jobs behave like the system printer object the layouts were
// drawn for: a new page or a new job only reaches the device when something
// is drawn on it, so "new page, end of job" never ejects a blank sheet, and
// the next drawing after the end of a job starts another job.

#include <string>
#include <string_view>

namespace tobal {

// Paper sizes as the printer driver numbers them.
inline constexpr int kPapelA4 = 9;
inline constexpr int kPapelUsuario = 256;
// The error a refused property value gives (invalid property value).
inline constexpr int kErrorPropiedad = 380;

inline constexpr double kTwipsPorPulgada = 1440.0;
inline constexpr double kTwipsPorMilimetro = 1440.0 / 25.4;
inline constexpr double kTwipsPorPunto = 20.0;
// Print adjustments are kept in tenths of a millimetre; this turns them into
// twips.
inline constexpr double kFactorAjuste = 5.67;

class Impresora {
public:
    virtual ~Impresora() = default;

    // Font and pen. The size is in points; the line width in pixels of a
    // 600-dpi printer, so that a layout comes out the same on every device.
    void FontName(std::string_view nombre) { fuente_ = std::string(nombre); }
    void FontSize(double puntos) { tamano_ = puntos; }
    void FontBold(bool negrita) { negrita_ = negrita; }
    void DrawWidth(int ancho) { anchoLinea_ = ancho; }
    const std::string& FontName() const { return fuente_; }
    double FontSize() const { return tamano_; }
    bool FontBold() const { return negrita_; }
    int DrawWidth() const { return anchoLinea_; }

    // Current position, twips.
    double CurrentX = 0;
    double CurrentY = 0;

    // Prints `texto` at the current position, then moves to the start of
    // the next line (CurrentX 0, CurrentY one line height lower). An empty
    // text only moves down.
    void Print(std::string_view texto = {});
    // A line from the current position to the point (dx, dy) away from it;
    // the current position moves to its end.
    void Line(double dx, double dy);
    // A solid black rectangle.
    void RectanguloLleno(double x, double y, double ancho, double alto);
    // Ends the page; the next drawing goes onto a new one.
    void NewPage();
    // Ends the print job (nothing reaches the device when nothing was drawn).
    void EndDoc();
    // Number of the current page of the job, from 1.
    int Page() const { return pagina_; }
    // Height of one printed line in the current font, twips.
    double TextHeight() { return AltoLinea(); }

    // Paper size and page height (twips, of the whole sheet). A value the
    // driver refuses gives kErrorPropiedad and changes nothing.
    virtual int PaperSize(int papel) = 0;
    virtual int Height() const = 0;
    virtual int Height(int twips) = 0;

    // True once a job could not be started or sent (a printer that is gone,
    // a file that cannot be written): what was drawn did not reach it.
    virtual bool Fallo() const { return false; }

protected:
    // Device operations, called with the job and page already started.
    virtual void IniciaTrabajo() = 0;
    virtual void PaginaSiguiente() = 0;
    virtual void TerminaTrabajo() = 0;
    virtual void DibujaTexto(double x, double y, const std::string& texto) = 0;
    virtual void DibujaLinea(double x1, double y1, double x2, double y2) = 0;
    virtual void DibujaRectangulo(double x, double y, double ancho, double alto) = 0;
    virtual double AltoLinea() = 0;

private:
    void Prepara();

    std::string fuente_ = "Arial";
    double tamano_ = 10;
    bool negrita_ = false;
    int anchoLinea_ = 1;
    int pagina_ = 1;
    int paginasPendientes_ = 0;
    bool trabajoAbierto_ = false;
};

// The value of a computed position in whole twips (halves to even, as the
// original's integer conversion does).
double Twips(double valor);

// A print adjustment in tenths of a millimetre, in twips (not rounded).
inline double AjusteTwips(int decimasMm) { return decimasMm * kFactorAjuste; }

}  // namespace tobal
