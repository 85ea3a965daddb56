#pragma once
// The reduction screen: matchday, order and method, the base quiniela with
// the multiples to reduce and (method 2) the base column, the method's
// parameters, the statistics after every change, and the reduction run with
// its progress panel. Changing matchday, order or method closes the screen
// and asks the menu to open it again (RepiteReducir).

#include <QDialog>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "reduction/Motor.h"

class QThread;

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;
class Caja;
class VistaReduccion;
class BotonDibujado;
class TextoLeido;

class Reducir : public QDialog {
    Q_OBJECT
public:
    Reducir(Estado& st, Servicios& sv, QWidget* padre = nullptr);
    ~Reducir() override;

    VistaReduccion* vista;
    Caja* Caja_MinErrores;
    Caja* Caja_MaxErrores;
    std::array<Caja*, 4> Caja_Signos{};  // [1..3]
    Caja* Caja_Garantizados;             // method 4: the errors its covering guarantees
    QWidget* Pic_Esta;
    QWidget* Pic_Porcen;
    BotonImagen* Pic_Cancelar;
    BotonImagen* Pic_SalirPorcen;
    BotonImagen* Pic_Reducir;
    BotonImagen* Pic_Indice;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;
    // After a finished run, opens the guarantee of the reduction just
    // stored (the window Garantia); any change of the base turns it off.
    BotonImagen* Pic_Garantia;
    // Opens the conditions window; its caption counts the conditions, and
    // the conditions are listed under it (Tex_Condiciones).
    BotonDibujado* Pic_Condiciones;
    TextoLeido* Tex_Condiciones;

    // The lines of the statistics box and of the progress panel, as shown.
    QStringList LineasEstadistica() const { return estadistica_; }
    QStringList LineasProgreso() const { return progreso_; }
    bool Ejecutando() const { return ejecutando_; }
    // Called on the run's thread at each whole percentage, after the line is
    // sent to the panel; lets a test hold a run where it wants it.
    std::function<void(int porcentaje)> AlAvanzar;

    void reject() override;

signals:
    // The run has ended (finished, cancelled or failed) and its panel shows
    // the closing line.
    void reduccionAcabada();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void PulsaBase(int m, int s);
    void PulsaElegida(int m);
    void PulsaProbable(int m, int s);
    void SeleccionaTodo(bool todo);
    void Recalcula();
    void CreaListasParametros(bool siempre);
    void EligeParametro(Caja* caja, int16_t& valor, int indice);
    void Reabre();
    void PulsaReducir();
    void EmpiezaReduccion();
    void AcabaReduccion(const ResultadoReduccion& res, const std::vector<std::string>& avisos);
    void SalPorcen();
    void ActivaBotones(bool activos);
    void AbreIndice();
    void AbreCondiciones();
    void MuestraCondiciones();

    Estado& st_;
    Servicios& sv_;
    QStringList estadistica_;
    QStringList progreso_;
    bool ejecutando_ = false;
    bool esperaSalida_ = false;
    bool garantia_ = false;  // the stored reduction is the one on the screen
    std::atomic<bool> cancelar_{false};
    QThread* hilo_ = nullptr;
};

}  // namespace tobal
