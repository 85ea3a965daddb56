#pragma once
// The print screen: the output chosen on the output screen (TipoSalida) with
// its settings, and its run. The summary, the relation and the continuous
// forms print step by step, letting the window's events through after each
// step; the sheet tickets print one at a time and wait for Repetir,
// Siguiente or Cancelar; the disk copy writes AD243 to the drive chosen in
// Lis_Unidad on a worker thread. Beside the print button, a preview shows the
// same output, from which another printer or a PDF file can be chosen.

#include <QDialog>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "output/Relacion.h"
#include "platform/Unidades.h"
#include "screens/DestinoImpresion.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;
class Impresora;
class CorridaHoja;
class Corrida;
class TextoLeido;

namespace Salida {
inline constexpr int Resumen = 0;
inline constexpr int Boletos = 1;
inline constexpr int Relacion = 2;
inline constexpr int Disco = 3;
inline constexpr int Continuo = 4;
}  // namespace Salida

// The title of an output (the caption of its button on the output screen).
QString TituloSalida(int tipoSalida);

class Listados : public QDialog {
    Q_OBJECT
public:
    // Reads TipoSalida and NumBoletos of the shared state.
    Listados(Estado& st, Servicios& sv, QWidget* padre = nullptr);
    ~Listados() override;

    // Where the runs print and their preview.
    DestinoImpresion destino;
    // The folder the user picks for the folder-choosing drive entry; empty
    // when the user gave up.
    std::function<QString()> eligeCarpeta;
    // Replaces the drives of Lis_Unidad (the folder-choosing entry is kept
    // last) and selects the first.
    void PonUnidades(std::vector<UnidadDisco> unidades);

    const Listado& Datos() const { return l_; }
    bool Imprimiendo() const { return imprimiendo_; }
    // The progress panel's line (empty when the panel is not shown) and the
    // last line a run left on the screen.
    QString Panel() const { return panel_; }
    QString Aviso() const { return aviso_; }
    // The drive the copy writes to.
    UnidadDisco UnidadDestino() const;

    QLineEdit* Tex_BolIni;
    QLineEdit* Tex_BolFin;
    QLineEdit* Tex_Copias;
    QLineEdit* Tex_MarIzq;
    QLineEdit* Tex_MarSup;
    QListWidget* Lis_AnchoPapel;
    QListWidget* Lis_Unidad;
    QCheckBox* Chk_PruImp;
    BotonImagen* Pic_Orientacion;
    BotonImagen* Pic_Imprimir;
    BotonImagen* Pic_VistaPrevia;
    BotonImagen* Pic_Copiar;
    BotonImagen* Pic_Repetir;
    BotonImagen* Pic_Siguiente;
    BotonImagen* Pic_Cancelar;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;
    // The progress line and the last line of a run, for assistive technology.
    TextoLeido* Tex_Panel;
    TextoLeido* Tex_Aviso;

    void reject() override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    struct Campo {
        QWidget* editor;
        QString etiqueta;
        QRect area;
    };
    void ColocaCampos();
    void CierraCampo(QLineEdit* editor);
    void EligeUnidad(int fila);
    void MuestraBotones(bool corriendo);
    void PonPanel(const QString& texto);
    void MensajeEsperando(const std::string& titulo, const std::string& texto);
    ControlImpresion Control();
    void Imprime();
    void VistaPreviaSalida();
    void DibujaSalida(Impresora& imp);
    void EmpiezaHoja(Impresora& imp);
    void ImprimeBoleto();
    void SiguienteBoleto();
    void Copia();
    void Cancela();
    void Termina();

    Estado& st_;
    Servicios& sv_;
    int tipo_;
    Listado l_;
    std::vector<Campo> campos_;
    std::vector<UnidadDisco> unidades_;
    int filaUnidad_ = 0;
    bool imprimiendo_ = false;
    QString panel_;
    QString aviso_;
    Impresora* imp_ = nullptr;
    std::unique_ptr<CorridaHoja> hoja_;
    Corrida* corrida_;
};

}  // namespace tobal
