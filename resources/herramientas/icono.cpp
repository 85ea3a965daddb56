// Renders an SVG picture to a PNG of the given side, for the desktop icon:
//   g++ -std=c++20 -fPIC icono.cpp -o icono $(pkg-config --cflags --libs Qt6Gui Qt6Svg)
//   QT_QPA_PLATFORM=offscreen ./icono ../imagenes/aplicacion.svg ../icons/tobal31.png 64
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    const int lado = atoi(argv[3]);
    QImage img(lado, lado, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    svg.render(&p);
    p.end();
    return img.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
