#include "screens/careta.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"

namespace tobal {

namespace {
constexpr int kYInicial = 150;
constexpr int kYFinal = -201;  // the last row of pictures has left the area
constexpr int kPasadas = 2;
}  // namespace

Careta::Careta(Servicios& sv, QWidget* padre)
    : QWidget(padre, Qt::Dialog | Qt::FramelessWindowHint), sv_(sv) {
    setObjectName(QStringLiteral("careta"));
    setWindowTitle(QStringLiteral("Tobal31"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(AreaCareta().width() + 20, AreaCareta().height() + 20);
    setFocusPolicy(Qt::StrongFocus);
    Centra(this);
}

QRect Careta::AreaCareta() { return QRect(10, 10, 290, 150); }

void Careta::Ejecuta() {
    show();
    activateWindow();
    setFocus();
    y_ = kYInicial;
    pasada_ = 1;
    pasos_ = 0;
    parar_ = false;
    enCurso_ = true;
    for (;;) {
        repaint();
        sv_.Pausa(5);
        QCoreApplication::processEvents();
        ++pasos_;
        if (parar_) break;
        if (--y_ < kYFinal) {
            y_ = kYInicial;
            if (++pasada_ > kPasadas) break;
        }
    }
    enCurso_ = false;
    close();
}

void Careta::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    const QRect area = AreaCareta();
    p.fillRect(area, Qt::black);
    p.setClipRect(area);
    p.translate(area.topLeft());
    const QPixmap titulos = ImagenTitulos();
    p.drawPixmap(31, y_, ImagenLogo());
    p.drawPixmap(210, y_ + 2, ImagenIcono());
    p.drawPixmap(QPoint(53, y_ + 78), titulos, PiezaTitulo(1));
    p.drawPixmap(QPoint(34, y_ + 135), titulos, PiezaTitulo(2));
    p.drawPixmap(QPoint(26, y_ + 186), titulos, PiezaTitulo(3));
}

void Careta::keyPressEvent(QKeyEvent* e) {
    e->accept();
    parar_ = true;
}

void Careta::closeEvent(QCloseEvent* e) {
    // Closed from outside while scrolling: stop at the end of the step.
    parar_ = true;
    if (enCurso_)
        e->ignore();
    else
        e->accept();
}

}  // namespace tobal
