#pragma once
// A picture button. Its enabled state is an explicit flag that also sets its
// pointer: the pointing hand when enabled, the forbidden sign when not. A
// disabled button ignores presses.

#include <QPixmap>
#include <QWidget>

namespace tobal {

class BotonImagen : public QWidget {
    Q_OBJECT
public:
    // `control` names the picture (ImagenBoton) and the object.
    explicit BotonImagen(const QString& control, QWidget* padre = nullptr);
    void PonActivo(bool activo);
    bool Activo() const { return activo_; }
    QSize sizeHint() const override;

signals:
    void pulsado();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QPixmap imagen_;
    bool activo_ = true;
};

}  // namespace tobal
