#include "screens/salida.h"

#include <QPainter>

#include "app/Estado.h"
#include "app/Formato.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "output/Relacion.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "screens/VistaReduccion.h"
#include "screens/listados.h"

namespace tobal {

namespace {

constexpr int kAncho = 720;
constexpr int kAlto = 520;
const QRect kResumen(420, 62, 285, 190);
const QRect kBoletos(VistaReduccion::kXBase + 20, 18, 170, 22);

}  // namespace

salida::salida(Estado& st, Servicios& sv, QWidget* padre) : QDialog(padre), st_(st), sv_(sv) {
    PreparaPantalla(this, QStringLiteral("salida"), QStringLiteral("Salida de datos"), QSize(kAncho, kAlto));

    vista = new VistaReduccion(this, st_, sv_);
    BotonDibujado** salidas[] = {&Pic_Quiniela, &Pic_Boletos, &Pic_Relacion, &Pic_Disco, &Pic_Continuo};
    const char* nombres[] = {"Pic_Quiniela", "Pic_Boletos", "Pic_Relacion", "Pic_Disco", "Pic_Continuo"};
    for (int t = Salida::Resumen; t <= Salida::Continuo; ++t) {
        auto* b = new BotonDibujado(QString::fromUtf8(nombres[t]), TituloSalida(t), this);
        b->setGeometry(kResumen.left(), 268 + 38 * t, kResumen.width() + 6, 33);
        connect(b, &BotonDibujado::pulsado, this, [this, t] { AbreListados(t); });
        *salidas[t] = b;
    }

    Pic_Indice = new BotonImagen(QStringLiteral("Pic_Indice"), this);
    Pic_Ayuda = new BotonImagen(QStringLiteral("Pic_Ayuda"), this);
    Pic_Salir = new BotonImagen(QStringLiteral("Pic_Salir"), this);
    const std::pair<BotonImagen*, const char*> botones[] = {
        {Pic_Indice, "Índice de reducciones"}, {Pic_Ayuda, "Ayuda"}, {Pic_Salir, "Salir"}};
    int x = kAncho - 30 - 3 * TamBoton - 20;
    for (const auto& [b, nombre] : botones) {
        b->move(x, kAlto - TamBoton - 18);
        b->setAccessibleName(QString::fromUtf8(nombre));
        x += TamBoton + 10;
    }
    connect(Pic_Indice, &BotonImagen::pulsado, this, [this] { Indice(); });
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::Salida); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, &salida::reject);
    connect(vista->Jornada, &Caja::elegido, this, [this](int i) {
        st_.Jornada() = static_cast<int16_t>(i + 1);
        CargaSalida();
    });
    connect(vista->Orden, &Caja::elegido, this, [this](int i) {
        st_.Orden() = static_cast<int16_t>(i + 1);
        CargaSalida();
    });

    Tex_Boletos =
        new TextoLeido(QStringLiteral("Tex_Boletos"), QStringLiteral("Boletos de la reducción"), kBoletos, this);

    // The lists set to the current matchday and order count as a choice.
    vista->LlenaListas();
    CargaSalida();
    unsetCursor();
}

void salida::reject() {
    sv_.Sonar(Sonido::Salida);
    QDialog::reject();
}

void salida::CargaSalida() {
    LeeJornada(st_);
    CargaReduccion(st_);
    st_.NumBoletos = NumBoletos(st_.ReduccionActual.ApuestasReducidas);
    Tex_Boletos->PonTexto(TextoBoletos());
    vista->Coloca();
    update();
}

void salida::AbreListados(int tipoSalida) {
    std::unique_ptr<Listados> listados;
    {
        PunteroEspera espera;
        sv_.Sonar(Sonido::Boton);
        st_.TipoSalida = static_cast<int16_t>(tipoSalida);
        listados = std::make_unique<Listados>(st_, sv_, this);
    }
    listados->exec();
}

QString salida::TextoBoletos() const {
    // "###,###" shows nothing for none.
    return QString::fromStdString(Cp1252AUtf8(Formatea(st_.NumBoletos, "###,###") + " Boletos")).trimmed();
}

void salida::Indice() {
    if (vista->EligeEnIndice()) CargaSalida();
}

void salida::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    vista->DibujaReduccion(p);
    // The tickets the reduction needs.
    QFont f = LetraRotulo();
    f.setPixelSize(15);
    p.setFont(f);
    p.setPen(ColorWin(Color::Blanco));
    EscribeEntero(p, kBoletos, Qt::AlignLeft | Qt::AlignVCenter, TextoBoletos());
    ImprimeResumen(p, kResumen, st_);
}

}  // namespace tobal
