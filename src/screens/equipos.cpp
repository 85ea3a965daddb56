#include "screens/equipos.h"

#include <QCollator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QShortcut>

#include "app/Estado.h"
#include "app/Informador.h"
#include "data/Equipos.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "screens/EntradaTexto.h"

namespace tobal {

namespace {

constexpr int kAncho = 400;
constexpr int kAlto = 380;

}  // namespace

Equipos::Equipos(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre),
      Tex_NuevoEquipo(new QLineEdit(this)),
      Lis_Equipos(new QListWidget(this)),
      Pic_Añadir(new BotonImagen(QStringLiteral("Pic_Añadir"), this)),
      Pic_Borrar(new BotonImagen(QStringLiteral("Pic_Borrar"), this)),
      Pic_Guardar(new BotonImagen(QStringLiteral("Pic_Guardar"), this)),
      Pic_Ayuda(new BotonImagen(QStringLiteral("Pic_Ayuda"), this)),
      Pic_Salir(new BotonImagen(QStringLiteral("Pic_Salir"), this)),
      st_(st),
      sv_(sv) {
    PreparaPantalla(this, QStringLiteral("equipos"), QStringLiteral("Lista de equipos"),
                    QSize(kAncho, kAlto));

    Tex_NuevoEquipo->setObjectName(QStringLiteral("Tex_NuevoEquipo"));
    Tex_NuevoEquipo->setAccessibleName(QStringLiteral("Nombre del equipo"));
    Tex_NuevoEquipo->setMaxLength(static_cast<int>(kLongNombreEquipo));
    CajaNombreEquipo(Tex_NuevoEquipo, st_, sv_, this);
    Tex_NuevoEquipo->setFont(LetraCampo());
    Tex_NuevoEquipo->setGeometry(30, 52, 220, 28);
    Lis_Equipos->setObjectName(QStringLiteral("Lis_Equipos"));
    Lis_Equipos->setAccessibleName(QStringLiteral("Lista de equipos"));
    Lis_Equipos->setFont(LetraCampo());
    Lis_Equipos->setGeometry(30, 130, 220, 220);

    Pic_Añadir->move(270, 46);
    Pic_Borrar->move(270, 130);
    Pic_Guardar->move(kAncho - 30 - TamBoton, 200);
    Pic_Ayuda->move(kAncho - 30 - TamBoton, 255);
    Pic_Salir->move(kAncho - 30 - TamBoton, 310);
    for (BotonImagen* b : {Pic_Guardar, Pic_Añadir, Pic_Borrar}) b->PonActivo(false);
    setTabOrder(Tex_NuevoEquipo, Pic_Añadir);
    setTabOrder(Pic_Añadir, Lis_Equipos);
    setTabOrder(Lis_Equipos, Pic_Borrar);
    setTabOrder(Pic_Borrar, Pic_Guardar);
    setTabOrder(Pic_Guardar, Pic_Ayuda);
    setTabOrder(Pic_Ayuda, Pic_Salir);

    connect(Tex_NuevoEquipo, &QLineEdit::textChanged, this,
            [this](const QString& t) { Pic_Añadir->PonActivo(!t.trimmed().isEmpty()); });
    connect(Tex_NuevoEquipo, &QLineEdit::returnPressed, this, [this] { Añadir(); });
    connect(Lis_Equipos, &QListWidget::itemSelectionChanged, this,
            [this] { Pic_Borrar->PonActivo(!Lis_Equipos->selectedItems().isEmpty()); });
    connect(Pic_Añadir, &BotonImagen::pulsado, this, [this] { Añadir(); });
    connect(Pic_Borrar, &BotonImagen::pulsado, this, [this] { Borrar(); });
    connect(Pic_Guardar, &BotonImagen::pulsado, this, [this] { Guardar(); });
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::Equipos); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] { Sal(); });
    // Escape leaves as the exit button does.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { Pic_Salir->Pulsa(); });

    std::vector<std::string> leidos;
    CargaLisEquipos(st_, leidos);
    for (const std::string& n : leidos) Anade(DeCp1252(n));
    Lis_Equipos->setCurrentItem(nullptr);
    Tex_NuevoEquipo->setFocus();
}

QStringList Equipos::Nombres() const {
    QStringList nombres;
    for (int i = 0; i < Lis_Equipos->count(); ++i) nombres << Lis_Equipos->item(i)->text();
    return nombres;
}

void Equipos::Anade(const QString& nombre) {
    static const QCollator orden(QLocale(QLocale::Spanish, QLocale::Spain));
    // After the names that sort before it or alike: equal names keep the
    // order in which they came.
    int i = Lis_Equipos->count();
    while (i > 0 && orden.compare(Lis_Equipos->item(i - 1)->text().trimmed(), nombre.trimmed()) > 0) --i;
    Lis_Equipos->insertItem(i, nombre);
}

void Equipos::Añadir() {
    const QString nombre = Tex_NuevoEquipo->text();
    if (nombre.trimmed().isEmpty()) return;
    sv_.Sonar(Sonido::Boton);
    Anade(nombre);
    Tex_NuevoEquipo->clear();
    Tex_NuevoEquipo->setFocus();
    Pic_Añadir->PonActivo(false);
    Pic_Guardar->PonActivo(true);
}

void Equipos::Borrar() {
    const QList<QListWidgetItem*> elegidos = Lis_Equipos->selectedItems();
    if (elegidos.isEmpty()) return;
    sv_.Sonar(Sonido::Boton);
    delete elegidos.front();
    Lis_Equipos->clearSelection();
    Lis_Equipos->setCurrentItem(nullptr);
    Pic_Borrar->PonActivo(false);
    Pic_Guardar->PonActivo(true);
}

void Equipos::Guardar() {
    PunteroEspera espera;
    sv_.Sonar(Sonido::Boton);
    std::vector<std::string> nombres;
    for (const QString& n : Nombres()) nombres.push_back(ACp1252(n));
    if (const int error = GrabaEquipos(st_, nombres); error != 0) {
        // The list stays as it is and the button enabled, to try again.
        if (st_.informador)
            st_.informador->ErrorFichero("No se ha podido grabar el fichero de equipos EQUIPOS.TBX (error " +
                                         std::to_string(error) + ").");
        return;
    }
    Pic_Guardar->PonActivo(false);
}

void Equipos::Sal() {
    sv_.Sonar(Sonido::Salida);
    reject();
}

void Equipos::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    EscribeRotulo(p, 30, 20, QStringLiteral("Nombre del equipo"));
    EscribeRotulo(p, 30, 98, QStringLiteral("Lista de equipos"));
}

}  // namespace tobal
