#pragma once
// The output screen: a stored reduction, chosen by matchday and order or in
// the index, shown as its base quiniela, its ticket count and its summary,
// and the five outputs of it, each opening the print screen.

#include <QDialog>

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;
class BotonDibujado;
class VistaReduccion;
class TextoLeido;

class salida : public QDialog {
    Q_OBJECT
public:
    salida(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    // Loads the reduction of the current matchday and order and shows it.
    void CargaSalida();
    // Leaves with the exit sound (the exit button and Escape alike).
    void reject() override;

    VistaReduccion* vista;
    BotonDibujado* Pic_Quiniela;
    BotonDibujado* Pic_Boletos;
    BotonDibujado* Pic_Relacion;
    BotonDibujado* Pic_Disco;
    BotonDibujado* Pic_Continuo;
    BotonImagen* Pic_Indice;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;
    // "N Boletos" for assistive technology.
    TextoLeido* Tex_Boletos;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString TextoBoletos() const;
    void AbreListados(int tipoSalida);
    void Indice();
    Estado& st_;
    Servicios& sv_;
};

}  // namespace tobal
