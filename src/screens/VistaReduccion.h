#pragma once
// The reduction view shared by the reduction, browser, scoring and output
// screens: the "Jornada", "Orden: " (and, on the reduction screen,
// "Método reductivo:") boxes with their lists, the base-quiniela grids
// Pic_Base, Pic_Elegir and Pic_ColBas, the 15 match lines, and what each
// screen adds to them, chosen by the screen's objectName ("Reducir",
// "consredu", "escrutin", "salida"; letter case ignored).
//
// How a screen uses it:
//   1. In its constructor, after setObjectName, build one VistaReduccion
//      over itself. The grids, boxes and lists become children of the
//      screen, with their control names as objectName.
//   2. PreparaVistaReduccion(): loads the current reduction (CargaReduccion),
//      places the grids for its method and fills the matchday and order
//      lists; or, for a screen that loads by itself, Coloca() after the load.
//   3. From paintEvent: DibujaReduccion(painter). The grids paint themselves
//      from ReduccionActual; call Actualiza() after changing it or RegJornada.
//   4. Connect Jornada->elegido / Orden->elegido (item index, 0-based).
// Cell and box geometry is fixed here so that every screen shows the base
// quiniela at the same place: match m's row is y = 80 + 18 m.

#include <QListWidget>
#include <QObject>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

namespace tobal {

struct Estado;
class Servicios;
class TextoLeido;

// A labelled box: dark green shadow 4 pixels off, light grey face with a red
// frame, the caption and, on the line below, the value (not drawn when it is
// a single blank), each in grey and then one pixel up and left in yellow.
void DibujaCaja(QPainter& p, int izq, int arriba, int der, int abajo, const QString& rotulo,
                const QString& valor);

// The summary of ReduccionActual (ImprimeResumen) in a cyan box; nothing when
// no reduction is loaded.
void ImprimeResumen(QPainter& p, const QRect& caja, const Estado& st);

// A box drawn with DibujaCaja that opens its list below it. A press on the
// box (or Space/Enter with the focus on it) opens the list with sound 6;
// taking an item (a click on it, Enter, a second press on the box, or the
// list losing the focus) closes it with sound 7 and emits elegido. Escape
// closes it taking nothing.
class Caja : public QWidget {
    Q_OBJECT
public:
    Caja(const QString& nombreLista, const QString& rotulo, const QString& nombreAccesible, QWidget* pantalla,
         Servicios& sv);
    QListWidget* lista() const { return lista_; }
    void PonValor(const QString& valor);
    QString Valor() const { return valor_; }
    // Items, shown in columns of `filas` items each.
    void PonItems(const QStringList& items, int filas = 10);
    // Selects from code: no signal.
    void Selecciona(int indice);
    bool Abierta() const { return lista_->isVisible(); }
    // What a press on the box does.
    void Pulsa();
    // Ignore presses (a run is going on).
    void PonBloqueada(bool bloqueada) { bloqueada_ = bloqueada; }
    void PonRotulo(const QString& rotulo);

signals:
    void elegido(int indice);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Cierra(bool toma);
    QListWidget* lista_;
    Servicios& sv_;
    QString rotulo_;
    QString valor_;
    bool bloqueada_ = false;
    bool cerrando_ = false;
};

// A grid of 15 matches by 1 or 3 cells. What each cell shows comes from
// `estado`; a press on a cell, or Space on the focus cell, emits pulsada
// (match 1..15, sign 1..3, or 1 for a one-column grid) when the grid is
// editable. Arrow keys move the focus cell; the accessible description
// names the focus cell and whether it is marked.
class RejillaVista : public QWidget {
    Q_OBJECT
public:
    enum EstadoCelda { SinCelda = -1, Vacia = 0, Marcada = 1, Resaltada = 2 };
    static constexpr int kAnchoCelda = 20;
    static constexpr int kAltoFila = 18;
    static constexpr int kFilas = 15;

    RejillaVista(const QString& nombre, const QString& nombreAccesible, int columnas, QWidget* pantalla);
    std::function<int(int partido, int signo)> estado;
    void PonEditable(bool editable);
    bool Editable() const { return editable_; }
    // The cell under a point of the grid: {match, sign}, or {0, 0} between
    // cells (QueBaseHaPulsado and its siblings).
    std::pair<int, int> CeldaEn(QPoint punto) const;
    QRect RectCelda(int partido, int signo) const;
    // Another cell geometry, in the grid's pixels: the cell under a point,
    // the rectangle of a cell, and the grid's size.
    void PonGeometria(std::function<std::pair<int, int>(QPoint)> celdaEn,
                      std::function<QRect(int, int)> rectCelda, QSize tamano);
    std::pair<int, int> Foco() const { return {focoPartido_, focoSigno_}; }
    void Refresca();

signals:
    void pulsada(int partido, int signo);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    int Estado(int partido, int signo) const { return estado ? estado(partido, signo) : Vacia; }
    void Describe();
    int columnas_;
    std::function<std::pair<int, int>(QPoint)> celdaEn_;
    std::function<QRect(int, int)> rectCelda_;
    bool editable_ = false;
    int focoPartido_ = 1;
    int focoSigno_ = 1;
};

// A button drawn with DibujaBoton ("Seleccionar todo", "  Borrar todo").
class BotonDibujado : public QWidget {
    Q_OBJECT
public:
    BotonDibujado(const QString& nombre, const QString& rotulo, QWidget* pantalla);
    void PonBloqueado(bool bloqueado) { bloqueado_ = bloqueado; }
    bool Bloqueado() const { return bloqueado_; }
    // A caption that tells a state ("Condiciones (3)..."); also its name.
    void PonRotulo(const QString& rotulo);
    QString Rotulo() const { return rotulo_; }

signals:
    void pulsado();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QString rotulo_;
    bool hundido_ = false;
    bool bloqueado_ = false;
};

class VistaReduccion : public QObject {
    Q_OBJECT
public:
    // Left and right ends of the browser's slider track, and its height.
    static constexpr int kIzqPista = 440;
    static constexpr int kDerPista = 640;
    static constexpr int kYPista = 392;
    // Where the grids start: column x of Pic_Base, Pic_Elegir, Pic_ColBas.
    static constexpr int kXBase = 222;
    static constexpr int kXElegir = 290;
    static constexpr int kXColBas = 330;
    static constexpr int kYRejillas = 96;  // 80 + 18 - 2: row m is centred on its match line

    VistaReduccion(QWidget* pantalla, Estado& st, Servicios& sv);

    // PreparaVistaReduccion: CargaReduccion for the current matchday and
    // order, the grids placed for its method, the lists filled and set to
    // the current matchday and order, the default pointer back.
    void PreparaVistaReduccion();
    // Places the grids for the method of ReduccionActual (Pic_ColBas only
    // for method 2) and refreshes boxes and grids.
    void Coloca();
    // Repaints the grids and the box values after ReduccionActual changed.
    void Actualiza();
    // DibujaReduccion, from the screen's paintEvent.
    void DibujaReduccion(QPainter& p) const;
    // Fills the matchday and order lists and selects the current ones.
    void LlenaListas();
    // Pic_Indice: the index of stored reductions, modal over the screen;
    // true when the user picked one, whose matchday and order the lists
    // then show (the screen loads it).
    bool EligeEnIndice();

    // The text of match m's line beside the grids (from ". " on), fitting
    // kAnchoLinea pixels: a name too long for it is cut visibly ("…").
    QString LineaPartido(int m) const;
    static constexpr int kAnchoLinea = kXBase - 4 - 18;

    bool EsPantalla(const char* nombre) const;
    QWidget* pantalla() const { return pantalla_; }

    Caja* Jornada;
    Caja* Orden;
    Caja* Metodo = nullptr;  // reduction screen only
    RejillaVista* Pic_Base;
    RejillaVista* Pic_Elegir;
    RejillaVista* Pic_ColBas;
    RejillaVista* Pic_Ganadora = nullptr;          // scoring screen only; its `estado` is the screen's
    BotonDibujado* Pic_SeleccionarTodo = nullptr;  // reduction screen only
    BotonDibujado* Pic_BorrarTodo = nullptr;
    // The screens that show a stored reduction (not the reduction screen,
    // which has its own button): its conditions in a box beside the order's,
    // drawn only for a reduction that has them.
    TextoLeido* Tex_Condiciones = nullptr;
    static constexpr QRect kCajaCondiciones{360, 8, 351, 44};

private:
    QWidget* pantalla_;
    Estado& st_;
    Servicios& sv_;
};

}  // namespace tobal
