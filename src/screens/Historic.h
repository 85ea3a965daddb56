#pragma once
// The index of stored reductions, "Fichero Histórico de resultados": every
// record of BASES.TBX as one line in a folder, 20 lines a page. A screen
// with an index button opens it modally and afterwards reads the shared
// state:
//
//     Historic indice(st, sv, this);
//     indice.exec();
//     if (st.IndiceElegido != Falso) { /* st.Jornada(), st.Orden() are the pick */ }
//
// IndiceElegido is cleared when the window opens and set only when a line
// is picked; Jornada and Orden change only then. No file is changed.

#include <QDialog>
#include <QWidget>
#include <vector>

#include "reduction/Indice.h"

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;

class Historic;

// The folder picture: headings, the lines of the page and the paging zones
// at its bottom corners. Positions are its own pixels.
class Carpeta : public QWidget {
    Q_OBJECT
public:
    static constexpr int kAncho = 660;
    static constexpr int kAlto = 372;
    explicit Carpeta(Historic& indice);
    // The line of the page the keyboard points at (0..19).
    int Marcada() const { return marcada_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    friend class Historic;
    void Marca(int linea);
    Historic& h_;
    int marcada_ = 0;
};

class Historic : public QDialog {
    Q_OBJECT
public:
    // Opening: clears IndiceElegido, reads the index and shows the page of
    // the current matchday and order.
    Historic(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    int Superior() const { return indice_.superior; }
    int TotalLineas() const { return static_cast<int>(indice_.lineas.size()); }
    // Index lines as shown (Windows-1252 bytes).
    const std::vector<std::string>& Lineas() const { return indice_.lineas; }
    // The conditions of the reduction of line i as shown beside it ("C",
    // or "?" when its conditions file does not read) and as said to
    // assistive technology; empty without conditions.
    QString MarcaCondiciones(int i) const;
    QString CondicionesLinea(int i) const;

    // What a press at (x, y) of the folder does: turn a page, pick a line or
    // nothing.
    void PulsaCarpeta(int x, int y);
    // Turning a page: sound, half a second's pause, the new page.
    void PasaPagina(int paso);
    // Picking line `linea` (0..19) of the page: the choice, then close.
    void Elige(int linea);

    Carpeta* Pic_Carpeta;
    BotonImagen* Pic_BotSalir;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void Sal();
    Estado& st_;
    Servicios& sv_;
    Indice indice_;
    std::vector<QString> condiciones_;  // per line: what CondicionesLinea says
    std::vector<bool> ilegibles_;       // per line: its conditions file does not read
};

}  // namespace tobal
