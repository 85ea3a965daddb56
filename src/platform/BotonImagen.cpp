#include "platform/BotonImagen.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/Recursos.h"

namespace tobal {

BotonImagen::BotonImagen(const QString& control, QWidget* padre) : QWidget(padre), imagen_(ImagenBoton(control)) {
    setObjectName(control);
    setFixedSize(TamBoton, TamBoton);
    PonActivo(true);
}

void BotonImagen::PonActivo(bool activo) {
    activo_ = activo;
    setCursor(activo ? CursorPorNombre(QStringLiteral("ManoIndice")) : QCursor(Qt::ForbiddenCursor));
    update();
}

QSize BotonImagen::sizeHint() const { return QSize(TamBoton, TamBoton); }

void BotonImagen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // A disabled picture is shown faded so that it reads as unavailable
    // before the pointer reaches it.
    if (!activo_) p.setOpacity(0.45);
    p.drawPixmap(0, 0, imagen_);
}

void BotonImagen::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (activo_) emit pulsado();
}

}  // namespace tobal
