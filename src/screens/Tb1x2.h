#pragma once
// The main menu: seven drawn options that open the program's screens
// modally, help and leave.

#include <QAbstractButton>
#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;

// Creates the screen of a menu option; the menu shows it modally. An option
// without one opens nothing.
using CreaPantalla = std::function<std::unique_ptr<QDialog>(Estado&, Servicios&, QWidget* padre)>;

namespace OpcionMenu {
inline constexpr int Jornadas = 1;
inline constexpr int Reducir = 2;
inline constexpr int Consulta = 3;
inline constexpr int Salida = 4;
inline constexpr int Escrutinio = 5;
inline constexpr int DatosGenerales = 6;
inline constexpr int Borrado = 7;
}  // namespace OpcionMenu

class Tb1x2;

// An option of the menu for the keyboard and assistive technology: a push
// button over the drawn option that Tab reaches and Space or Enter press. The
// mouse goes through it to the menu, whose hit test includes the borders.
class OpcionTeclado : public QAbstractButton {
public:
    OpcionTeclado(Tb1x2* menu, int opcion);

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
};

class Tb1x2 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOpciones = 7;
    static constexpr int kAnchoOpcion = 215;
    static constexpr int kAltoOpcion = 27;

    // The Load step: reads the settings and prepares the options.
    Tb1x2(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    // The option (1..7) whose rectangle holds the point, borders included;
    // 0 for none.
    static int OpcionEn(QPoint punto);
    static QPoint EsquinaOpcion(int opcion);
    static QString RotuloOpcion(int opcion);  // 40 characters, as stored

    void PonPantalla(int opcion, CreaPantalla crea);
    bool Pulsada(int opcion) const { return opciones_[opcion - 1].pulsado; }

    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;
    // The options as the keyboard and assistive technology reach them.
    std::array<OpcionTeclado*, kOpciones> Opc{};

signals:
    // The user left the program; the settings have been written.
    void terminado();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    friend class OpcionTeclado;
    void PulsaOpcion(int opcion);
    struct Opcion {
        bool pulsado = false;
        CreaPantalla crea;
    };
    void Abre(int opcion);
    void AbreUnaVez(int opcion);
    Estado& st_;
    Servicios& sv_;
    std::array<Opcion, kOpciones> opciones_;
    bool cursorMano_ = false;
    bool saliendo_ = false;
    bool abriendo_ = false;
};

}  // namespace tobal
