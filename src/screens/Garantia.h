#pragma once
// The window of a stored reduction's guarantee: for every result its base
// quiniela allows, the hits of its best column, as a table and a bar chart,
// and the hits it is sure of. The analysis runs on a worker thread as soon
// as the window opens; Pic_Cancelar stops it, Pic_Salir (or Escape) leaves.

#include <QDialog>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

#include "app/Estado.h"
#include "reduction/Garantia.h"

namespace tobal {

class Servicios;
class BotonImagen;
class TextoLeido;

class Garantia : public QDialog {
    Q_OBJECT
public:
    // Analyses st.ReduccionActual, a stored reduction, with its columns file
    // in st.DirDatos.
    Garantia(Estado& st, Servicios& sv, QWidget* padre = nullptr);
    ~Garantia() override;

    enum class Fase { Calculando, Hecha, Cancelada, Fallida };
    Fase fase() const { return fase_; }
    int porcentaje() const { return porcentaje_; }
    // Called on the worker's thread after each progress step is sent; lets a
    // test hold the analysis where it wants it.
    std::function<void(int porcentaje)> AlAvanzar;
    const ResultadoGarantia& resultado() const { return resultado_; }

    // Where the table, the chart and the closing lines are drawn: lower by
    // a line for a reduction with conditions, which are named under the
    // heading.
    QRect AreaTabla() const;
    QRect AreaGrafico() const;
    QRect AreaTexto() const;

    BotonImagen* Pic_Cancelar;
    BotonImagen* Pic_Salir;
    // What the window shows, for assistive technology: the state line, the
    // table (each row with its headings) and the closing sentences.
    TextoLeido* Tex_Estado;
    TextoLeido* Tab_Garantia;
    TextoLeido* Tex_Frase;
    TextoLeido* Tex_Condiciones;

signals:
    void terminada();

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void reject() override;

private:
    void Empieza();
    void Termina(const ResultadoGarantia& r);
    void Cancela();
    void Describe();
    void DibujaTabla(QPainter& p) const;
    void DibujaGrafico(QPainter& p) const;

    Estado& st_;
    Servicios& sv_;
    Reduccion reduccion_;
    QString cabecera_;
    Condiciones condiciones_;
    int bajada_ = 0;
    std::unique_ptr<QThread> trabajo_;
    std::atomic<bool> cancelar_{false};
    Fase fase_ = Fase::Calculando;
    int porcentaje_ = 0;
    ResultadoGarantia resultado_;
};

}  // namespace tobal
