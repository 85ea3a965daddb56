#pragma once
// The splash screen: the program's pictures scroll up through the drawing
// area twice, or until a key is pressed.

#include <QWidget>

namespace tobal {

class Servicios;

class Careta : public QWidget {
    Q_OBJECT
public:
    explicit Careta(Servicios& sv, QWidget* padre = nullptr);
    // Shows the splash modally, scrolls and closes it; returns when closed.
    void Ejecuta();

    int Y() const { return y_; }
    int Pasada() const { return pasada_; }
    int Pasos() const { return pasos_; }
    // The drawing area, in window pixels.
    static QRect AreaCareta();

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    Servicios& sv_;
    int y_ = 150;
    int pasada_ = 1;
    int pasos_ = 0;
    bool parar_ = false;
    bool enCurso_ = false;
};

}  // namespace tobal
