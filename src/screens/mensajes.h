#pragma once
// The program's message window: a title in capitals, a text, the leave
// button and, on request, one of the answer buttons that set PulsoReducir,
// PulsoBorrar or PulsoCopiar.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;

// Optional answer buttons of the message window.
namespace BotonMensaje {
inline constexpr int Ninguno = 0;
inline constexpr int Reducir = 1;
inline constexpr int Borrar = 2;
inline constexpr int Copiar = 4;
}  // namespace BotonMensaje

class Mensajes : public QDialog {
    Q_OBJECT
public:
    Mensajes(Estado& st, Servicios& sv, QWidget* padre = nullptr);
    void PonMensaje(const QString& titulo, const QString& texto, int botones);

    BotonImagen* Pic_Salir;
    BotonImagen* Pic_Reducir;
    BotonImagen* Pic_Borrar;
    BotonImagen* Pic_Copiar;
    QLineEdit* Tex_Titulo;
    QPlainTextEdit* Tex_Mensaje;

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void Responde(int16_t& pulso);
    Estado& st_;
    Servicios& sv_;
};

// Shows the message window modally and returns when it is closed. The
// caller clears the answer flag of the button it asks for and tests it
// afterwards. Texts in UTF-8 (QString); CR LF breaks lines.
void Mensaje(Estado& st, Servicios& sv, QWidget* padre, const QString& titulo, const QString& texto,
             int botones = BotonMensaje::Ninguno);

}  // namespace tobal
