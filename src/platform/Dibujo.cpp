#include "platform/Dibujo.h"

#include <QDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include "platform/BotonImagen.h"
#include "platform/Colores.h"

namespace tobal {

void PreparaPantalla(QDialog* pantalla, const QString& control, const QString& titulo, QSize tamano) {
    pantalla->setObjectName(control);
    pantalla->setWindowTitle(titulo);
    pantalla->setModal(true);
    pantalla->setFixedSize(tamano);
    Centra(pantalla);
    AyudaConF1(pantalla);
}

void Centra(QWidget* ventana) {
    if (QScreen* pantalla = QGuiApplication::primaryScreen())
        ventana->move(pantalla->availableGeometry().center() - ventana->rect().center());
}

QFont LetraBoton() {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

QFont LetraRotulo() {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(18);
    f.setBold(true);
    return f;
}

QFont LetraCampo() {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

void DibujaBoton(QPainter& p, int x, int y, int ancho, int alto, const QString& rotulo, bool pulsado) {
    p.save();
    // The face sinks towards its shadow when pressed: the shadow stays where
    // it is and the gap shrinks from 5 to 2 pixels.
    const int hundido = pulsado ? 3 : 0;
    const QRect cara(x + hundido, y + hundido, ancho, alto);
    p.fillRect(QRect(x + 5, y + 5, ancho, alto), ColorWin(Color::VerdeMuyOscuro));
    p.fillRect(cara, ColorWin(Color::GrisClaro));
    p.setPen(ColorWin(Color::Amarillo));
    p.drawLine(cara.topLeft(), cara.topRight());
    p.drawLine(cara.topLeft(), cara.bottomLeft());
    if (!pulsado) {
        p.drawLine(cara.topLeft() + QPoint(1, 1), cara.topRight() + QPoint(-1, 1));
        p.drawLine(cara.topLeft() + QPoint(1, 1), cara.bottomLeft() + QPoint(1, -1));
    }
    p.setPen(ColorWin(Color::Gris));
    p.drawLine(cara.bottomLeft(), cara.bottomRight());
    p.drawLine(cara.topRight(), cara.bottomRight());

    p.setFont(LetraBoton());
    const QString texto = rotulo.trimmed();
    p.setPen(ColorWin(Color::Gris));
    p.drawText(cara.translated(1, 1), Qt::AlignCenter, texto);
    p.setPen(ColorWin(Color::Blanco));
    p.drawText(cara, Qt::AlignCenter, texto);
    p.restore();
}

void MarcaPulsado(QPainter& p, const QRect& area) {
    p.save();
    p.setPen(ColorWin(Color::VerdeOscuro));
    p.drawLine(area.topLeft(), area.topRight());
    p.drawLine(area.topLeft(), area.bottomLeft());
    p.setPen(ColorWin(Color::Negro));
    const QPoint d(3, 3);
    p.drawLine(area.topLeft() + d, QPoint(area.right() - 3, area.top() + 3));
    p.drawLine(area.topLeft() + d, QPoint(area.left() + 3, area.bottom() - 3));
    p.restore();
}

void EscribeRotulo(QPainter& p, int x, int y, const QString& texto) {
    p.setFont(LetraRotulo());
    const int linea = p.fontMetrics().ascent();
    p.setPen(ColorWin(Color::VerdeMuyOscuro));
    p.drawText(x + 1, y + 1 + linea, texto);
    p.setPen(ColorWin(Color::Amarillo));
    p.drawText(x, y + linea, texto);
    p.setPen(ColorWin(Color::Negro));
}

namespace {
// Black outside, a green frame of `verde` pixels, dark green inside.
void Marco(QPainter& p, const QRect& r, int verde) {
    p.fillRect(r, ColorWin(Color::Negro));
    p.fillRect(r.adjusted(2, 2, -2, -2), ColorWin(Color::Verde));
    const int d = 2 + verde;
    p.fillRect(r.adjusted(d, d, -d, -d), ColorWin(Color::VerdeOscuro));
}
}  // namespace

void DibujaPanel(QPainter& p, const QRect& r) { Marco(p, r, 3); }

void DibujaFondo(QPainter& p, const QRect& r) { Marco(p, r, 2); }

void EscribeEntero(QPainter& p, const QRect& r, int alineacion, const QString& texto) {
    const double ancho = QFontMetricsF(p.font()).horizontalAdvance(texto);
    if (ancho <= r.width()) {
        p.drawText(r, alineacion, texto);
        return;
    }
    p.save();
    p.translate(r.left(), 0);
    p.scale(r.width() / ancho, 1.0);
    p.drawText(QRectF(0, r.top(), ancho, r.height()), alineacion & ~Qt::AlignHorizontal_Mask, texto);
    p.restore();
}

void DibujaCampo(QPainter& p, const QRect& area, const QString& etiqueta, const QString& valor,
                 int columnaValor) {
    p.save();
    p.fillRect(area.translated(4, 4), ColorWin(Color::VerdeMuyOscuro));
    p.fillRect(area, ColorWin(Color::GrisClaro));
    p.setPen(ColorWin(Color::Gris));
    p.drawRect(area.adjusted(0, 0, -1, -1));
    p.setFont(LetraCampo());
    p.setPen(ColorWin(Color::Negro));
    p.drawText(area.adjusted(10, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, etiqueta);
    p.drawText(area.adjusted(columnaValor + 3, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, valor);
    p.restore();
}

}  // namespace tobal
