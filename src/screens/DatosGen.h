#pragma once
// The general data screen: five fields that open and close like toggles,
// save, help and leave. Leaving reloads the stored settings, so changes not
// saved are dropped.

#include <QDialog>
#include <QRect>
#include <array>

class QLineEdit;
class QListWidget;

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;
class ZonaCampo;

class DatosGen : public QDialog {
    Q_OBJECT
public:
    enum Campo { TotJornadas = 0, PrecioApuesta, Delegacion, Receptor, Sonido, kCampos };

    DatosGen(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    // The area of a field, in window pixels; a press inside opens or closes it.
    static QRect AreaCampo(int campo);
    bool Abierto(int campo) const { return abierto_[campo]; }
    // What the mouse press on a field's area does: opens or closes it.
    void Alterna(int campo);

    QLineEdit* Tex_TotJor;
    QLineEdit* Tex_PreApu;
    QLineEdit* Tex_Delegacion;
    QLineEdit* Tex_Receptor;
    QListWidget* Lis_Sonido;
    BotonImagen* Pic_Guardar;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;

    void done(int resultado) override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QWidget* Editor(int campo) const;
    QString Valor(int campo) const;
    void Aplica(int campo);
    void CargaEditores();
    void Guarda();
    Estado& st_;
    Servicios& sv_;
    std::array<bool, kCampos> abierto_{};
    std::array<ZonaCampo*, kCampos> zonas_{};
    bool cerrado_ = false;
};

}  // namespace tobal
