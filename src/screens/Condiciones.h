#pragma once
// The conditions window of the reduction screen: the conditions of the
// reduction in the players' notation, a box to type one, Añadir / Cambiar /
// Quitar, the failures allowed, and how many results of the base quiniela
// the conditions keep, recounted after every change. It works on a copy:
// Aceptar hands the conditions back (Resultado), Cancelar and Escape leave
// them as they were.
//
//     VentanaCondiciones v(st, sv, this);
//     if (v.exec() == QDialog::Accepted) st.CondicionesActuales = v.Resultado();

#include <QDialog>
#include <optional>

#include "app/Estado.h"

class QLineEdit;
class QListWidget;

namespace tobal {

class Servicios;
class BotonDibujado;
class Caja;
class TextoLeido;

// The conditions one after another, as the screens that show a stored
// reduction say them: "X 2-5; seguidos 1-4; 1 fallo permitido"; empty
// without conditions.
QString TextoCondicionesVisto(const Condiciones& cs);
// "2 fallos permitidos"; empty when none is.
QString TextoFallos(int fallos);

class VentanaCondiciones : public QDialog {
    Q_OBJECT
public:
    // Starts from st.CondicionesActuales, counting over the base quiniela
    // of st.ReduccionActual.
    VentanaCondiciones(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    const Condiciones& Resultado() const { return cs_; }

    // In the Tab order.
    QLineEdit* Tex_Condicion;
    BotonDibujado* Pic_Añadir;
    BotonDibujado* Pic_Cambiar;
    QListWidget* Lis_Condiciones;
    BotonDibujado* Pic_Quitar;
    Caja* Caja_Fallos;
    BotonDibujado* Pic_Aceptar;
    BotonDibujado* Pic_Cancelar;
    // The count of the results kept, for assistive technology.
    TextoLeido* Tex_Cumplen;

    void reject() override;

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // The typed condition, or nothing after saying what is wrong with it.
    std::optional<Condicion> Leida();
    void Añadir();
    void Cambiar();
    void Quitar();
    void Muestra();

    Estado& st_;
    Servicios& sv_;
    Condiciones cs_;
};

}  // namespace tobal
