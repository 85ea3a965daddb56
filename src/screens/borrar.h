#pragma once
// Deletion of everything stored for a range of matchdays: the first and the
// last matchday are picked from two lists (the first never after the last)
// and the deletion runs only after the message window's Borrar.

#include <QDialog>
#include <QRect>

class QListWidget;

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;
class ZonaCampo;

class Borrar : public QDialog {
    Q_OBJECT
public:
    static constexpr int kUltimaJornada = 52;

    Borrar(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    // The boxes "Desde la jornada" and "Hasta la jornada", in window pixels;
    // a press opens or closes the list under the box.
    static QRect AreaDesde();
    static QRect AreaHasta();
    int Desde() const { return desde_; }
    int Hasta() const { return hasta_; }
    // What a press on each box does.
    void PulsaDesde();
    void PulsaHasta();

    QListWidget* Lis_JorIni;
    QListWidget* Lis_JorFin;
    ZonaCampo* Campo_Desde;
    ZonaCampo* Campo_Hasta;
    BotonImagen* Pic_Borrar;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;

    void done(int resultado) override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Alterna(QListWidget* lista, ZonaCampo* zona);
    void Elige(QListWidget* lista);
    void BorraRango();
    Estado& st_;
    Servicios& sv_;
    int desde_ = 1;
    int hasta_ = 1;
};

}  // namespace tobal
