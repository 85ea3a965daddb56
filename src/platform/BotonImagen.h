#pragma once
// A picture button. Its enabled state is an explicit flag that also sets its
// pointer: the pointing hand when enabled, the forbidden sign when not. A
// disabled button ignores presses and is out of the Tab order. It takes the
// keyboard focus; Space or Enter press it. Assistive technology sees a push
// button named by what it does ("Guardar", "Salir"...).

#include <QPixmap>
#include <QWidget>
#include <functional>

namespace tobal {

class BotonImagen : public QWidget {
    Q_OBJECT
public:
    // `control` names the picture (ImagenBoton) and the object.
    explicit BotonImagen(const QString& control, QWidget* padre = nullptr);
    void PonActivo(bool activo);
    bool Activo() const { return activo_; }
    // Another picture (a button whose picture tells a setting).
    void PonImagen(const QPixmap& imagen);
    QSize sizeHint() const override;
    // A press by the mouse, the keyboard or assistive technology.
    void Pulsa();

signals:
    void pulsado();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    QPixmap imagen_;
    bool activo_ = true;
    Qt::FocusPolicy politica_ = Qt::TabFocus;  // while active
};

// F1 on `ventana` presses its help button (its child Pic_Ayuda), when that
// is shown; a window without one (the index, the guarantee) gives the help
// of the window that opened it.
void AyudaConF1(QWidget* ventana);

// A field area drawn by its screen that opens and closes on a press: the
// screen keeps handling the mouse (presses pass through to it); this
// stand-in gives the area a place in the Tab order, Space and Enter, the
// focus mark and a push button's name for assistive technology.
class ZonaCampo : public BotonImagen {
    Q_OBJECT
public:
    ZonaCampo(const QString& nombre, const QString& accesible, const QRect& area, QWidget* padre);
    // The value the field shows, which assistive technology reads as the
    // button's description.
    std::function<QString()> valor;
};

}  // namespace tobal
