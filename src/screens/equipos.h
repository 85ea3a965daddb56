#pragma once
// The list of teams (EQUIPOS.TBX) that the matchday editor offers in its
// team boxes: add a typed name, remove the selected one, save the list.
// The list keeps itself in alphabetical order, accents ignored as Spanish
// sorts them ("Éibar" with the E); the file is written in that order.

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;

class Equipos : public QDialog {
    Q_OBJECT
public:
    // Reads the list, creating an empty file (after its message) when there
    // is none.
    Equipos(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    // The names as the list shows them.
    QStringList Nombres() const;

    QLineEdit* Tex_NuevoEquipo;
    QListWidget* Lis_Equipos;
    BotonImagen* Pic_Añadir;
    BotonImagen* Pic_Borrar;
    BotonImagen* Pic_Guardar;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void Anade(const QString& nombre);
    void Añadir();
    void Borrar();
    void Guardar();
    void Sal();
    Estado& st_;
    Servicios& sv_;
};

}  // namespace tobal
