#pragma once
// The reduction browser: a stored reduction's columns as they go onto the
// official tickets, three tickets of 8 columns to a page. It keeps the
// columns file open while the reduction is shown and reads one page at a
// time by seeking to the page's first column.

#include <QDialog>
#include <QString>
#include <array>

#include "app/Archivo.h"

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;
class TextoLeido;
class VistaReduccion;

class consredu : public QDialog {
    Q_OBJECT
public:
    static constexpr int kColumnasPagina = 24;

    consredu(Estado& st, Servicios& sv, QWidget* padre = nullptr);
    ~consredu() override;

    // Loads the reduction of the current matchday and order.
    void CargaConsulta();
    // The thumb's left position for the current page.
    int PosBoton() const;

    int PrimeraColumna() const { return primera_; }
    // The 15 match lines of the page (24 signs each) and the ticket headings
    // shown over the three groups (empty when not shown).
    const std::array<QString, 16>& Lineas() const { return lineas_; }
    const std::array<QString, 3>& Cabeceras() const { return cabeceras_; }
    QString TotalBoletos() const { return totalBoletos_; }
    bool FicheroAbierto() const { return abierto_; }

    VistaReduccion* vista;
    QWidget* Pic_Colum;
    BotonImagen* Pic_FleIzq;
    BotonImagen* Pic_FleDer;
    QWidget* Pic_Boton;
    BotonImagen* Pic_Indice;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;
    // Opens the guarantee of the reduction shown (the window Garantia).
    BotonImagen* Pic_Garantia;
    // What the screen shows, for assistive technology (the page's columns
    // are the description of Pic_Colum, the page of the slider that of
    // Pic_Boton).
    TextoLeido* Tex_Metodo;
    TextoLeido* Tex_Boletos;
    TextoLeido* Tex_Resumen;

    void reject() override;

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void DibujaPagina();
    // Brings what assistive technology reads in line with what is shown.
    void Describe();
    QString MetodoVisto() const;
    void CierraFichero();
    void Rechaza(const std::string& texto, bool avisa = true);
    void RechazaDanado(int64_t columna);
    void PaginaSiguiente();
    void PaginaAnterior();
    void AbreIndice();
    int32_t Columnas() const;
    Estado& st_;
    Servicios& sv_;
    LectorBloques fichero_;
    bool abierto_ = false;
    int32_t primera_ = 1;
    std::array<QString, 16> lineas_;  // [1..15]
    std::array<QString, 3> cabeceras_;
    QString totalBoletos_;
    bool arrastrando_ = false;
    int agarre_ = 0;
};

}  // namespace tobal
