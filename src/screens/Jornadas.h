#pragma once
// The matchday editor: choose a matchday, give it its date and the 30 team
// names of its 15 matches, and store it in JORNADAS.TBX. The results and
// prizes of the record (written by scoring) are kept as they were read.

#include <QDialog>
#include <QRect>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tobal {

struct Estado;
class Servicios;
class BotonImagen;
class ZonaCampo;

class Jornadas : public QDialog {
    Q_OBJECT
public:
    Jornadas(Estado& st, Servicios& sv, QWidget* padre = nullptr);

    // The areas of the matchday and date fields, in window pixels; a press
    // inside opens or closes the field.
    static QRect AreaJornada();
    static QRect AreaFecha();
    bool JornadaAbierta() const { return jornadaAbierta_; }
    bool FechaAbierta() const { return fechaAbierta_; }
    // What a press on each field does.
    void PulsaJornada();
    void PulsaFecha();

    // Refills the lists of the 30 team boxes from EQUIPOS.TBX, keeping what
    // each box shows.
    void CreaCboEquipo();
    // Checks the three date boxes; shows "ERROR EN LA FECHA" when wrong.
    bool ValidaFecha();

    QListWidget* Lis_Jornadas;
    QWidget* Pic_FecJor;
    QLineEdit* Tex_FecDia;
    QLineEdit* Tex_FecMes;
    QLineEdit* Tex_FecAno;
    QLabel* Lab_Barra1;
    QLabel* Lab_Barra2;
    std::array<QComboBox*, 31> Cbo_Equipo{};  // [1..30]; box 2m-1 home, 2m away team of match m
    ZonaCampo* Campo_Jornada;
    ZonaCampo* Campo_Fecha;
    BotonImagen* Pic_Guardar;
    BotonImagen* Pic_Equipos;
    BotonImagen* Pic_Ayuda;
    BotonImagen* Pic_Salir;

    void done(int resultado) override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CierraJornada();
    bool CierraFecha();
    void Guardar();
    void AbreEquipos();
    void Sal();
    Estado& st_;
    Servicios& sv_;
    bool jornadaAbierta_ = false;
    bool fechaAbierta_ = false;
    bool cerrado_ = false;
};

}  // namespace tobal
