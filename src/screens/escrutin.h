#pragma once
// The scoring screen: a stored reduction chosen by matchday and order or in
// the index, the winning column and the prize of each category, the scoring
// run off the event loop, the hits and ticket tables, and the report printed.

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "scoring/Escrutinio.h"
#include "screens/DestinoImpresion.h"

class QGroupBox;
class QLineEdit;
class QListWidget;

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;
class VistaReduccion;
class Corrida;
class TextoLeido;

class escrutin : public QDialog {
    Q_OBJECT
public:
    escrutin(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    // Loads the reduction of the current matchday and order, with the
    // winning column and the prizes stored in its matchday record.
    void CargaEscrutinio();
    const Rejilla& Ganadora() const { return rejilla_; }
    bool Escrutando() const { return ocupado_; }
    QString Progreso() const { return progreso_; }

    // Where the report prints and its preview.
    DestinoImpresion destino;

    VistaReduccion* vista;
    QGroupBox* Fra_Premios;
    std::array<QLineEdit*, 6> Tex_Premios{};  // [1..5]: 15, 14, 13, 12 and 11 hits
    QListWidget* Lis_Aciertos;
    QListWidget* Lis_Boletos;
    BotonImagen* Pic_Escrutar;
    BotonImagen* Pic_Imprimir;
    BotonImagen* Pic_VistaPrevia;
    BotonImagen* Pic_Indice;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;
    // The run's percentage, for assistive technology.
    TextoLeido* Tex_Progreso;

    // Leaves with the exit sound; not while a scoring run goes on, which
    // has no cancel and ends by itself.
    void reject() override;

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent* e) override;

private:
    void CompruebaCarga();
    void CierraPremio(int k);
    void Escruta();
    void Termina(const ResultadoEscrutinio& r);
    void DibujaInforme(Impresora& imp);
    void Imprime();
    void Indice();
    Estado& st_;
    Servicios& sv_;
    Corrida* corrida_;
    Rejilla rejilla_{};
    std::array<double, 6> premios_{};
    std::array<QString, 6> aceptado_;  // each prize field's text before the edit being checked
    bool cerrandoPremio_ = false;      // a refused prize's message is up
    bool ocupado_ = false;
    bool mostrado_ = false;
    std::string cargado_;  // the matchday record as loaded or last stored
    QString progreso_;
    std::string ganadora_;  // of the last completed run
};

}  // namespace tobal
