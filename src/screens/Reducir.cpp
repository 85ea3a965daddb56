#include "screens/Reducir.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QThread>

#include "app/Estado.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "reduction/Comprobaciones.h"
#include "reduction/Condiciones.h"
#include "reduction/Estadistica.h"
#include "reduction/Tablas.h"
#include "screens/Condiciones.h"
#include "screens/Garantia.h"
#include "screens/Historic.h"
#include "screens/VistaReduccion.h"
#include "screens/mensajes.h"

namespace tobal {

namespace {

constexpr int kAncho = 720;
constexpr int kAlto = 520;
constexpr int kYBotones = 455;
// Under the statistics: the conditions button and the conditions listed.
const QRect kBotonCondiciones(480, 318, 236, 36);
const QRect kListaCondiciones(484, 358, 226, 90);

QFont LetraPanel(int pixeles) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixeles);
    f.setBold(true);
    return f;
}

// Draws a list of lines on a light panel; the first `destacadas` in the
// heading colour.
class Panel : public QWidget {
public:
    Panel(const QString& nombre, const QString& accesible, const QStringList& lineas, QWidget* padre)
        : QWidget(padre), lineas_(lineas) {
        setObjectName(nombre);
        setAccessibleName(accesible);
        setFont(LetraPanel(12));
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), ColorWin(Color::Negro));
        p.fillRect(rect().adjusted(2, 2, -2, -2), ColorWin(Color::GrisClaro));
        p.setPen(ColorWin(Color::Negro));
        if (objectName() == QLatin1String("Pic_Esta")) {
            p.setFont(font());
            // The colons stand one after the longest label; the figures
            // take the rest of the line, whole whatever their size.
            int dosPuntos = 0;
            for (const QString& l : lineas_)
                dosPuntos = std::max(dosPuntos, p.fontMetrics().horizontalAdvance(l.section(QLatin1Char('\t'), 0, 0)));
            dosPuntos += 14;
            int y = 10;
            for (const QString& l : lineas_) {
                p.drawText(QRect(10, y, dosPuntos, 17), Qt::AlignLeft | Qt::AlignVCenter,
                           l.section(QLatin1Char('\t'), 0, 0));
                p.drawText(QRect(dosPuntos, y, 10, 17), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral(":"));
                EscribeEntero(p, QRect(dosPuntos + 10, y, width() - dosPuntos - 20, 17),
                              Qt::AlignRight | Qt::AlignVCenter, l.section(QLatin1Char('\t'), 1));
                y += 18;
            }
            return;
        }
        int y = 14;
        for (int i = 0; i < lineas_.size(); ++i) {
            p.setFont(LetraPanel(i == 0 ? 16 : 12));
            p.setPen(ColorWin(i == 0 ? Color::VerdeOscuro : Color::Negro));
            p.drawText(QRect(10, y, width() - 20, 22), Qt::AlignHCenter | Qt::AlignVCenter, lineas_[i]);
            y += i == 0 ? 30 : 22;
        }
    }
    const QStringList& lineas_;
};

QString Texto(const std::string& utf8) { return QString::fromStdString(utf8); }

// A panel redrawn with its lines, which assistive technology reads too.
void Refresca(QWidget* panel, const QStringList& lineas) {
    QStringList leidas = lineas;
    leidas.removeAll(QString());
    panel->setAccessibleDescription(leidas.join(QLatin1Char('\n')).replace(QLatin1Char('\t'), QStringLiteral(": ")));
    panel->update();
}

QStringList Numeros(int hasta) {
    QStringList items;
    for (int i = 0; i <= hasta; ++i) items << QString::number(i).rightJustified(2);
    return items;
}

}  // namespace

Reducir::Reducir(Estado& st, Servicios& sv, QWidget* padre) : QDialog(padre), st_(st), sv_(sv) {
    // The caption names the method: set with the reduction shown.
    PreparaPantalla(this, QStringLiteral("Reducir"), QString(), QSize(kAncho, kAlto));

    // Opening: the matchday, the stored reduction, then the method chosen
    // before reopening, with the conditions then on the screen, when there
    // is one.
    LeeJornada(st_);
    CargaReduccion(st_);
    if (st_.MetodoElegido >= 1 && st_.MetodoElegido <= kMetodos) {
        st_.Metodo() = st_.MetodoElegido;
        if (st_.CondicionesElegidas) st_.CondicionesActuales = std::move(*st_.CondicionesElegidas);
    }
    st_.MetodoElegido = 0;
    st_.CondicionesElegidas.reset();
    const int metodo = st_.Metodo();

    vista = new VistaReduccion(this, st_, sv_);
    for (RejillaVista* r : {vista->Pic_Base, vista->Pic_Elegir, vista->Pic_ColBas}) r->PonEditable(true);
    Caja_MinErrores = new Caja(QStringLiteral("Lis_MinErrores"), QStringLiteral("Mínimo:"),
                               QStringLiteral("Mínimo de errores"), this, sv_);
    Caja_MaxErrores = new Caja(QStringLiteral("Lis_MaxErrores"), QStringLiteral("Máximo:"),
                               QStringLiteral("Máximo de errores"), this, sv_);
    Caja_MinErrores->setGeometry(410, 145, 72, 49);
    Caja_MaxErrores->setGeometry(410, 205, 72, 49);
    const char* signos[] = {"", "1", "X", "2"};
    for (int s = 1; s <= 3; ++s) {
        Caja_Signos[s] = new Caja(QStringLiteral("Lis_Signos") + QLatin1String(signos[s]),
                                  QStringLiteral("Signos %1:").arg(QLatin1String(signos[s])),
                                  QStringLiteral("Signos %1").arg(QLatin1String(signos[s])), this, sv_);
        Caja_Signos[s]->setGeometry(330, 100 + 60 * (s - 1), 90, 49);
        Caja_Signos[s]->setVisible(metodo == 3);
    }
    Caja_MinErrores->setVisible(metodo == 2);
    Caja_MaxErrores->setVisible(metodo == 2);
    Caja_Garantizados = new Caja(QStringLiteral("Lis_Garantizados"), QStringLiteral("Máximo:"),
                                 QStringLiteral("Errores garantizados"), this, sv_);
    Caja_Garantizados->setGeometry(340, 145, 90, 49);
    Caja_Garantizados->setVisible(metodo == 4);

    Pic_Esta = new Panel(QStringLiteral("Pic_Esta"), QStringLiteral("Estadística"), estadistica_, this);
    Pic_Esta->setGeometry(480, 62, 230, 250);
    Pic_Condiciones = new BotonDibujado(QStringLiteral("Pic_Condiciones"), QStringLiteral("Condiciones..."), this);
    Pic_Condiciones->setGeometry(kBotonCondiciones);
    Tex_Condiciones = new TextoLeido(QStringLiteral("Tex_Condiciones"), QStringLiteral("Condiciones de la reducción"),
                                     kListaCondiciones, this);

    Pic_Reducir = new BotonImagen(QStringLiteral("Pic_Reducir"), this);
    Pic_Indice = new BotonImagen(QStringLiteral("Pic_Indice"), this);
    Pic_Ayuda = new BotonImagen(QStringLiteral("Pic_Ayuda"), this);
    Pic_Salir = new BotonImagen(QStringLiteral("Pic_Salir"), this);
    const std::pair<BotonImagen*, const char*> botones[] = {{Pic_Reducir, "Reducir"},
                                                            {Pic_Indice, "Índice de reducciones"},
                                                            {Pic_Ayuda, "Ayuda"},
                                                            {Pic_Salir, "Salir"}};
    int x = 480;
    for (const auto& [b, nombre] : botones) {
        b->move(x, kYBotones);
        b->setAccessibleName(QString::fromUtf8(nombre));
        x += 58;
    }

    Pic_Garantia = new BotonImagen(QStringLiteral("Pic_Garantia"), this);
    Pic_Garantia->move(480 - 58, kYBotones);
    Pic_Garantia->setAccessibleName(QStringLiteral("Garantía de la reducción"));
    Pic_Garantia->PonActivo(false);

    Pic_Porcen =
        new Panel(QStringLiteral("Pic_Porcen"), QStringLiteral("Progreso de la reducción"), progreso_, this);
    Pic_Porcen->setGeometry(140, 150, 440, 170);
    Pic_Cancelar = new BotonImagen(QStringLiteral("Pic_Cancelar"), Pic_Porcen);
    Pic_SalirPorcen = new BotonImagen(QStringLiteral("Pic_Salir"), Pic_Porcen);
    Pic_SalirPorcen->setObjectName(QStringLiteral("Pic_SalirPorcen"));
    Pic_Cancelar->setAccessibleName(QStringLiteral("Cancelar"));
    Pic_SalirPorcen->setAccessibleName(QStringLiteral("Salir del progreso"));
    for (BotonImagen* b : {Pic_Cancelar, Pic_SalirPorcen}) b->move(440 - TamBoton - 14, 170 - TamBoton - 12);
    Pic_Porcen->hide();

    // The caption keeps the long name's padding.
    setWindowTitle(QStringLiteral("Reducción de apuestas por el ") +
                   QString::fromStdString(Cp1252AUtf8(NombreMetodoLargo(metodo))));
    vista->Coloca();
    vista->LlenaListas();
    MuestraCondiciones();
    Recalcula();
    CreaListasParametros(true);

    connect(vista->Pic_Base, &RejillaVista::pulsada, this, &Reducir::PulsaBase);
    connect(vista->Pic_Elegir, &RejillaVista::pulsada, this, [this](int m, int) { PulsaElegida(m); });
    connect(vista->Pic_ColBas, &RejillaVista::pulsada, this, &Reducir::PulsaProbable);
    connect(vista->Pic_SeleccionarTodo, &BotonDibujado::pulsado, this, [this] { SeleccionaTodo(true); });
    connect(vista->Pic_BorrarTodo, &BotonDibujado::pulsado, this, [this] { SeleccionaTodo(false); });
    connect(vista->Jornada, &Caja::elegido, this, [this](int i) {
        if (i + 1 == st_.Jornada()) return;
        st_.Jornada() = static_cast<int16_t>(i + 1);
        st_.Orden() = 1;
        Reabre();
    });
    connect(vista->Orden, &Caja::elegido, this, [this](int i) {
        if (i + 1 == st_.Orden()) return;
        st_.Orden() = static_cast<int16_t>(i + 1);
        Reabre();
    });
    connect(vista->Metodo, &Caja::elegido, this, [this](int i) {
        if (i + 1 == st_.Metodo()) return;
        st_.MetodoElegido = static_cast<int16_t>(i + 1);
        st_.Metodo() = st_.MetodoElegido;
        st_.CondicionesElegidas = st_.CondicionesActuales;
        Reabre();
    });
    Reduccion& r = st_.ReduccionActual;
    connect(Caja_MinErrores, &Caja::elegido, this,
            [this, &r](int i) { EligeParametro(Caja_MinErrores, r.MinErrores, i); });
    connect(Caja_MaxErrores, &Caja::elegido, this,
            [this, &r](int i) { EligeParametro(Caja_MaxErrores, r.MaxErrores, i); });
    for (int s = 1; s <= 3; ++s)
        connect(Caja_Signos[s], &Caja::elegido, this,
                [this, &r, s](int i) { EligeParametro(Caja_Signos[s], r.Signos[s], i); });
    // Its list offers 1 and 2.
    connect(Caja_Garantizados, &Caja::elegido, this,
            [this, &r](int i) { EligeParametro(Caja_Garantizados, r.MaxErrores, i + 1); });

    connect(Pic_Condiciones, &BotonDibujado::pulsado, this, &Reducir::AbreCondiciones);
    connect(Pic_Reducir, &BotonImagen::pulsado, this, &Reducir::PulsaReducir);
    connect(Pic_Indice, &BotonImagen::pulsado, this, &Reducir::AbreIndice);
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] {
        const int contexto[] = {0, Contexto::ReducirDirecto, Contexto::ReducirColumna,
                                Contexto::ReducirSignos, Contexto::ReducirMinima};
        sv_.Ayuda(contexto[std::clamp<int>(st_.Metodo(), 1, kMetodos)]);
    });
    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] { reject(); });
    connect(Pic_Cancelar, &BotonImagen::pulsado, this, [this] {
        cancelar_ = true;
        sv_.Sonar(Sonido::Boton);
    });
    connect(Pic_SalirPorcen, &BotonImagen::pulsado, this, &Reducir::SalPorcen);
    connect(Pic_Garantia, &BotonImagen::pulsado, this, [this] {
        if (ejecutando_ || !garantia_) return;
        sv_.Sonar(Sonido::Boton);
        Garantia ventana(st_, sv_, this);
        ventana.exec();
    });
    unsetCursor();
}

Reducir::~Reducir() {
    if (hilo_) {
        cancelar_ = true;
        hilo_->wait();
    }
}

void Reducir::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    vista->DibujaReduccion(p);
    p.setFont(LetraCampo());
    p.setPen(ColorWin(Color::Blanco));
    // A condition too long for the room ends in an ellipsis.
    int y = kListaCondiciones.top();
    for (const QString& l : Tex_Condiciones->Texto().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        p.drawText(QRect(kListaCondiciones.left(), y, kListaCondiciones.width(), 18), Qt::AlignLeft | Qt::AlignVCenter,
                   p.fontMetrics().elidedText(l, Qt::ElideRight, kListaCondiciones.width()));
        y += 18;
    }
}

void Reducir::MuestraCondiciones() {
    const Condiciones& cs = st_.CondicionesActuales;
    const int n = int(cs.lista.size());
    Pic_Condiciones->PonRotulo(n ? QStringLiteral("Condiciones (%1)...").arg(n) : QStringLiteral("Condiciones..."));
    // Four lines fit under the button: the last says what does not.
    QStringList lineas;
    for (int i = 0; i < n && i < 4; ++i) lineas << Texto(TextoCondicion(cs.lista[size_t(i)]));
    if (cs.fallos > 0 || n > 4) {
        if (lineas.size() == 4) lineas.removeLast();
        QString resto = n > lineas.size() ? QStringLiteral("y %1 más").arg(n - lineas.size()) : QString();
        if (cs.fallos > 0) resto += (resto.isEmpty() ? QString() : QStringLiteral("; ")) + TextoFallos(cs.fallos);
        lineas << resto;
    }
    Tex_Condiciones->PonTexto(lineas.join(QLatin1Char('\n')));
    update();
}

void Reducir::AbreCondiciones() {
    if (ejecutando_) return;
    sv_.Sonar(Sonido::Boton);
    VentanaCondiciones ventana(st_, sv_, this);
    if (ventana.exec() != QDialog::Accepted || ventana.Resultado() == st_.CondicionesActuales) return;
    st_.CondicionesActuales = ventana.Resultado();
    MuestraCondiciones();
    Recalcula();
}

void Reducir::Recalcula() {
    garantia_ = false;
    Pic_Garantia->PonActivo(false);
    const ResultadoEstadistica res = CalculaEstadistica(st_);
    estadistica_.clear();
    for (const LineaEstadistica& l : res.lineas)
        estadistica_ << Texto(l.etiqueta) + QLatin1Char('\t') + Texto(l.valor);
    const Reduccion& r = st_.ReduccionActual;
    Caja_MinErrores->PonValor(QString::number(r.MinErrores));
    Caja_MaxErrores->PonValor(QString::number(r.MaxErrores));
    Caja_Garantizados->PonValor(QString::number(r.MaxErrores));
    for (int s = 1; s <= 3; ++s) Caja_Signos[s]->PonValor(QString::number(r.Signos[s]));
    Refresca(Pic_Esta, estadistica_);
    CreaListasParametros(false);
}

void Reducir::CreaListasParametros(bool siempre) {
    const Reduccion& r = st_.ReduccionActual;
    if (r.Metodo == 2) {
        const int n = st_.Esta.MultiplesReducir + 1;
        if (siempre || Caja_MinErrores->lista()->count() != n) {
            Caja_MinErrores->PonItems(Numeros(n - 1));
            Caja_MinErrores->Selecciona(r.MinErrores);
        }
        if (siempre || Caja_MaxErrores->lista()->count() != n) {
            Caja_MaxErrores->PonItems(Numeros(n - 1));
            Caja_MaxErrores->Selecciona(r.MaxErrores);
        }
    }
    if (r.Metodo == 3)
        for (int s = 1; s <= 3; ++s)
            if (siempre || Caja_Signos[s]->lista()->count() != st_.Esta.Disponibles[s] + 1) {
                Caja_Signos[s]->PonItems(Numeros(st_.Esta.Disponibles[s]));
                Caja_Signos[s]->Selecciona(r.Signos[s]);
            }
    if (r.Metodo == 4 && siempre) {
        Caja_Garantizados->PonItems({QStringLiteral(" 1"), QStringLiteral(" 2")});
        Caja_Garantizados->Selecciona(r.MaxErrores - 1);
    }
}

void Reducir::EligeParametro(Caja* caja, int16_t& valor, int indice) {
    valor = static_cast<int16_t>(indice);
    caja->PonValor(QString::number(valor));
    Recalcula();
}

void Reducir::PulsaBase(int m, int s) {
    if (ejecutando_) return;
    Partido& p = st_.ReduccionActual.Partidos[m];
    // Match 15 carries one sign.
    if (m == 15 && !p.Signo[s]) p.Signo = {0, 0, 0, 0};
    const bool quita = p.Signo[s] != 0;
    p.Signo[s] = quita ? 0 : 1;
    p.NumSignos = static_cast<int16_t>(p.Signo[1] + p.Signo[2] + p.Signo[3]);
    if (p.NumSignos <= 1) p.AReducir = 0;
    if (quita && p.SignoBase == s) p.SignoBase = 0;
    vista->Actualiza();
    Recalcula();
    sv_.Sonar(Sonido::Marca);
}

void Reducir::PulsaElegida(int m) {
    if (ejecutando_) return;
    Partido& p = st_.ReduccionActual.Partidos[m];
    if (p.NumSignos <= 1) return;
    p.AReducir = p.AReducir == 1 ? 0 : 1;
    if (p.AReducir == 0) p.SignoBase = 0;
    vista->Actualiza();
    Recalcula();
    sv_.Sonar(Sonido::Marca);
}

void Reducir::PulsaProbable(int m, int s) {
    if (ejecutando_ || st_.Metodo() != 2) return;
    Partido& p = st_.ReduccionActual.Partidos[m];
    if (!p.Signo[s] || p.AReducir != 1) return;
    p.SignoBase = static_cast<int16_t>(p.SignoBase == s ? 0 : s);
    vista->Actualiza();
    Recalcula();
    sv_.Sonar(Sonido::Marca);
}

void Reducir::SeleccionaTodo(bool todo) {
    if (ejecutando_) return;
    for (int m = 1; m <= 15; ++m) {
        Partido& p = st_.ReduccionActual.Partidos[m];
        p = Partido{};
        if (!todo) continue;
        if (m == 15) {
            p.Signo[1] = 1;
            p.NumSignos = 1;
        } else {
            p.Signo = {0, 1, 1, 1};
            p.NumSignos = 3;
            p.AReducir = 1;
        }
    }
    vista->Actualiza();
    Recalcula();
    sv_.Sonar(Sonido::Abre);
}

void Reducir::Reabre() {
    st_.RepiteReducir = Verdadero;
    QDialog::reject();
}

void Reducir::reject() {
    if (ejecutando_) {
        // Escape during a run cancels it; after it, leaves the panel.
        if (esperaSalida_)
            SalPorcen();
        else if (hilo_)
            cancelar_ = true;
        return;
    }
    sv_.Sonar(Sonido::Salida);
    st_.RepiteReducir = Falso;
    QDialog::reject();
}

void Reducir::ActivaBotones(bool activos) {
    for (BotonImagen* b : {Pic_Reducir, Pic_Ayuda, Pic_Salir, Pic_Indice}) b->PonActivo(activos);
    for (Caja* c : {vista->Jornada, vista->Orden, vista->Metodo, Caja_MinErrores, Caja_MaxErrores,
                    Caja_Signos[1], Caja_Signos[2], Caja_Signos[3], Caja_Garantizados})
        c->PonBloqueada(!activos);
    vista->Pic_SeleccionarTodo->PonBloqueado(!activos);
    vista->Pic_BorrarTodo->PonBloqueado(!activos);
    Pic_Condiciones->PonBloqueado(!activos);
}

void Reducir::PulsaReducir() {
    if (ejecutando_) return;
    ejecutando_ = true;
    ActivaBotones(false);
    sv_.Sonar(Sonido::Boton);
    auto termina = [this] {
        ejecutando_ = false;
        ActivaBotones(true);
    };
    if (const std::optional<Aviso> aviso = ComprobacionesReducir(st_)) {
        Mensaje(st_, sv_, this, Texto(aviso->titulo), Texto(aviso->texto));
        termina();
        return;
    }
    // A table's columns filtered lose its guarantee: nothing runs.
    if (RechazaCondiciones(st_)) {
        Mensaje(st_, sv_, this, QStringLiteral("MÉTODO DIRECTO CON CONDICIONES"),
                QString::fromUtf8(kDirectoSinCondiciones));
        termina();
        return;
    }
    const Reduccion& r = st_.ReduccionActual;
    if (ExisteReduccion(st_, r.Jornada, r.Orden)) {
        st_.PulsoReducir = Falso;
        const Aviso existe = AvisoReduccionExiste();
        Mensaje(st_, sv_, this, Texto(existe.titulo), Texto(existe.texto), BotonMensaje::Reducir);
        if (st_.PulsoReducir == Falso) {
            termina();
            return;
        }
    }
    EmpiezaReduccion();
}

void Reducir::EmpiezaReduccion() {
    progreso_ = {QString::fromUtf8(kTituloReduciendo), QString::fromUtf8(kAvisoCancelar),
                 Texto(TextoCuentas(st_)), QString()};
    Pic_Cancelar->show();
    Pic_SalirPorcen->hide();
    Refresca(Pic_Porcen, progreso_);
    Pic_Porcen->show();
    Pic_Porcen->raise();
    Pic_Cancelar->setFocus();
    setCursor(Qt::BusyCursor);
    cancelar_ = false;
    esperaSalida_ = false;

    // The run works on a copy of the state, so that nothing the screen
    // draws changes under it; its file-error reports are kept and shown
    // here once it has ended.
    auto copia = std::make_shared<Estado>(st_);
    auto grabador = std::make_shared<InformadorGrabador>();
    copia->informador = grabador.get();
    auto res = std::make_shared<ResultadoReduccion>();
    QPointer<Reducir> yo(this);
    hilo_ = QThread::create([copia, res, yo, this] {
        *res = EjecutaReduccion(
            *copia,
            [yo, this](int porcentaje, const std::string& linea) {
                QMetaObject::invokeMethod(
                    this,
                    [this, l = QString::fromStdString(linea)] {
                        if (progreso_.size() == 4 && !esperaSalida_) progreso_[3] = l;
                        Refresca(Pic_Porcen, progreso_);
                    },
                    Qt::QueuedConnection);
                if (AlAvanzar) AlAvanzar(porcentaje);
            },
            &cancelar_);
    });
    connect(hilo_, &QThread::finished, this, [this, copia, grabador, res] {
        hilo_->wait();
        delete hilo_;
        hilo_ = nullptr;
        st_.ReduccionActual = copia->ReduccionActual;
        st_.Esta = copia->Esta;
        st_.ErrorFichero = copia->ErrorFichero;
        st_.NumRegistro = copia->NumRegistro;
        AcabaReduccion(*res, grabador->mensajes);
    });
    hilo_->start();
}

void Reducir::AcabaReduccion(const ResultadoReduccion& res, const std::vector<std::string>& avisos) {
    unsetCursor();
    for (const std::string& aviso : avisos)
        if (aviso != res.mensaje && st_.informador) st_.informador->ErrorFichero(aviso);
    Recalcula();
    vista->Actualiza();
    if (res.fin == FinReduccion::Fallida) {
        // Nothing was kept: the message says why, and the screen is usable.
        Pic_Porcen->hide();
        ejecutando_ = false;
        ActivaBotones(true);
        emit reduccionAcabada();
        Mensaje(st_, sv_, this, QStringLiteral("REDUCCIÓN NO REALIZADA"), Texto(res.mensaje));
        return;
    }
    garantia_ = res.fin == FinReduccion::Terminada;
    progreso_[3] = Texto(res.mensaje);
    Refresca(Pic_Porcen, progreso_);
    Pic_Cancelar->hide();
    Pic_SalirPorcen->show();
    Pic_SalirPorcen->setFocus();
    esperaSalida_ = true;
    emit reduccionAcabada();
}

void Reducir::SalPorcen() {
    if (!esperaSalida_) return;
    esperaSalida_ = false;
    Pic_Porcen->hide();
    ejecutando_ = false;
    ActivaBotones(true);
    Pic_Garantia->PonActivo(garantia_);
    Pic_Reducir->setFocus();
    sv_.Sonar(Sonido::Salida);
}

void Reducir::AbreIndice() {
    if (ejecutando_) return;
    sv_.Sonar(Sonido::Boton);
    Historic indice(st_, sv_, this);
    indice.exec();
    // The picked reduction comes with its stored method.
    if (st_.IndiceElegido != Falso) Reabre();
}

}  // namespace tobal
