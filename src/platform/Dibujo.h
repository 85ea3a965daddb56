#pragma once
// The drawn look shared by every screen: raised and pressed buttons, pressed
// field areas, headings and title panels. Coordinates in window pixels.

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>

class QDialog;
class QWidget;

namespace tobal {

// A screen of the program: its control name, caption and fixed size, modal
// and centred on the screen.
void PreparaPantalla(QDialog* pantalla, const QString& control, const QString& titulo, QSize tamano);
// Centres a window on the screen it opens on.
void Centra(QWidget* ventana);

// Fonts of the drawn screens: captions and headings bold, field texts plain.
QFont LetraBoton();
QFont LetraRotulo();
QFont LetraCampo();

// A labelled button of the given size at (x, y): a light grey face with
// yellow highlights over a very dark green shadow, offset 5 pixels when
// raised and 2 when pressed; the caption in grey and, one pixel up and to
// the left, in white. Leading blanks of the caption are not drawn: the
// caption is centred.
void DibujaBoton(QPainter& p, int x, int y, int ancho, int alto, const QString& rotulo, bool pulsado);

// The pressed look of a field area: two dark green lines along its top and
// left edges and two black lines 3 pixels further in.
void MarcaPulsado(QPainter& p, const QRect& area);

// A heading at (x, y) (top-left of the text): very dark green one pixel
// down and right, then yellow on top. The pen is black afterwards.
void EscribeRotulo(QPainter& p, int x, int y, const QString& texto);

// A title panel: black outer box, green frame, dark green inside.
void DibujaPanel(QPainter& p, const QRect& r);

// The background of a drawn screen: dark green with a black and green frame.
void DibujaFondo(QPainter& p, const QRect& r);

// A figure in `r`, whole: a text wider than `r` is drawn narrowed to fit,
// never cut. `alineacion` as for QPainter::drawText.
void EscribeEntero(QPainter& p, const QRect& r, int alineacion, const QString& texto);

// A field area: light grey box with a grey frame, the label and, from
// `columnaValor` pixels into the area, its value, in black.
void DibujaCampo(QPainter& p, const QRect& area, const QString& etiqueta, const QString& valor,
                 int columnaValor);

}  // namespace tobal
