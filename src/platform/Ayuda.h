#pragma once
// The help pages: one page per context number, plus a contents page, shown
// in the program's own help window.

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace tobal {

namespace Contexto {
inline constexpr int Indice = 0;  // the contents page (the main menu's help)
inline constexpr int Jornadas = 2100;
inline constexpr int Equipos = 2151;
inline constexpr int ReducirDirecto = 2210;
inline constexpr int ReducirColumna = 2230;
inline constexpr int ReducirSignos = 2250;
inline constexpr int ReducirMinima = 2270;
inline constexpr int Consulta = 2300;
inline constexpr int Salida = 2400;
inline constexpr int Listados = 2410;  // 2410 to 2450 by the kind of output
inline constexpr int Escrutinio = 2500;
inline constexpr int DatosGenerales = 2700;
inline constexpr int Borrado = 2800;
}  // namespace Contexto

// The resource address of the page of a context; the contents page for a
// number without a page of its own.
QString PaginaAyuda(int contexto);

class Ayudante {
public:
    virtual ~Ayudante() = default;
    virtual void Muestra(int contexto) = 0;
};

// The help window: a text browser over the pages, reused from call to call.
class VisorAyuda : public QWidget, public Ayudante {
    Q_OBJECT
public:
    explicit VisorAyuda(QWidget* padre = nullptr);
    void Muestra(int contexto) override;
    QTextBrowser* navegador() const { return navegador_; }

protected:
    bool event(QEvent* e) override;
    // Escape closes the window, as its close button does.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Acompana();
    QTextBrowser* navegador_;
};

}  // namespace tobal
