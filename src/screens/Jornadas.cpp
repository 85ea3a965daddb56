#include "screens/Jornadas.h"

#include <algorithm>
#include <tuple>

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "data/Equipos.h"
#include "data/Jornadas.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "screens/EntradaTexto.h"
#include "screens/equipos.h"
#include "screens/mensajes.h"

namespace tobal {

namespace {

// A team box for assistive technology: named by what it is ("Partido 3,
// equipo de casa"), its team as its value. Qt names an editable box by its
// text, which tells a screen reader the team but not which one it is.
class CajaEquipoAccesible : public QAccessibleWidget {
public:
    explicit CajaEquipoAccesible(QComboBox* c) : QAccessibleWidget(c, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return static_cast<QComboBox*>(widget())->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& accion) override {
        if (accion == showMenuAction()) static_cast<QComboBox*>(widget())->showPopup();
    }
};

QAccessibleInterface* FabricaAccesible(const QString& clase, QObject* objeto) {
    if (clase == QLatin1String("QComboBox") && objeto->objectName().startsWith(QLatin1String("Cbo_Equipo")))
        return new CajaEquipoAccesible(static_cast<QComboBox*>(objeto));
    return nullptr;
}

constexpr int kAncho = 440;
constexpr int kAlto = 560;
constexpr int kYPartidos = 104;  // first row of team boxes
constexpr int kAltoFila = 26;
constexpr int kColumnaValor = 80;  // where a field's value starts inside its area

}  // namespace

Jornadas::Jornadas(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre), Lis_Jornadas(nullptr), Pic_FecJor(nullptr), st_(st), sv_(sv) {
    PreparaPantalla(this, QStringLiteral("Jornadas"), QStringLiteral("Datos de jornadas"),
                    QSize(kAncho, kAlto));
    setMouseTracking(true);

    // Created in the order Tab follows.
    Campo_Jornada =
        new ZonaCampo(QStringLiteral("Campo_Jornada"), QStringLiteral("Jornada"), AreaJornada(), this);
    Lis_Jornadas = new QListWidget(this);
    Campo_Fecha = new ZonaCampo(QStringLiteral("Campo_Fecha"), QStringLiteral("Fecha"), AreaFecha(), this);
    Campo_Jornada->valor = [this] { return QString::number(st_.Jornada()); };
    Campo_Fecha->valor = [this] { return DeCp1252(st_.Datos.FechaJornada); };
    Pic_FecJor = new QWidget(this);
    Tex_FecDia = new QLineEdit(Pic_FecJor);
    Lab_Barra1 = new QLabel(QStringLiteral("/"), Pic_FecJor);
    Tex_FecMes = new QLineEdit(Pic_FecJor);
    Lab_Barra2 = new QLabel(QStringLiteral("/"), Pic_FecJor);
    Tex_FecAno = new QLineEdit(Pic_FecJor);
    static const bool fabrica = (QAccessible::installFactory(FabricaAccesible), true);
    (void)fabrica;
    for (int s = 1; s <= 30; ++s) {
        // Named before it has a parent: its accessible interface is made
        // once, and must be made knowing what the box is.
        auto* cbo = new QComboBox;
        cbo->setObjectName(QStringLiteral("Cbo_Equipo%1").arg(s));
        cbo->setParent(this);
        Cbo_Equipo[s] = cbo;
    }
    Pic_Guardar = new BotonImagen(QStringLiteral("Pic_Guardar"), this);
    Pic_Equipos = new BotonImagen(QStringLiteral("Pic_Equipos"), this);
    Pic_Ayuda = new BotonImagen(QStringLiteral("Pic_Ayuda"), this);
    Pic_Salir = new BotonImagen(QStringLiteral("Pic_Salir"), this);
    setTabOrder(Campo_Jornada, Lis_Jornadas);
    setTabOrder(Lis_Jornadas, Campo_Fecha);
    setTabOrder(Campo_Fecha, Tex_FecDia);
    setTabOrder(Tex_FecDia, Tex_FecMes);
    setTabOrder(Tex_FecMes, Tex_FecAno);
    setTabOrder(Tex_FecAno, Cbo_Equipo[1]);

    // The matchday list: the numbers in columns of ten, under the field.
    Lis_Jornadas->setObjectName(QStringLiteral("Lis_Jornadas"));
    Lis_Jornadas->setAccessibleName(QStringLiteral("Lista de jornadas"));
    Lis_Jornadas->installEventFilter(this);
    Lis_Jornadas->hide();

    Pic_FecJor->setObjectName(QStringLiteral("Pic_FecJor"));
    Pic_FecJor->setAutoFillBackground(true);
    Pic_FecJor->setGeometry(AreaFecha().x() + kColumnaValor - 6, AreaFecha().bottom() + 4, 110, 34);
    int x = 6;
    for (auto [caja, nombre, accesible] :
         {std::tuple{Tex_FecDia, "Tex_FecDia", "Día"}, std::tuple{Tex_FecMes, "Tex_FecMes", "Mes"},
          std::tuple{Tex_FecAno, "Tex_FecAno", "Año"}}) {
        caja->setObjectName(QString::fromUtf8(nombre));
        caja->setAccessibleName(QString::fromUtf8(accesible));
        caja->setMaxLength(2);
        caja->setFont(LetraCampo());
        caja->setAlignment(Qt::AlignCenter);
        caja->setGeometry(x, 5, 26, 24);
        x += 36;
        connect(caja, &QLineEdit::returnPressed, this, [this] { PulsaFecha(); });
    }
    Lab_Barra1->setObjectName(QStringLiteral("Lab_Barra1"));
    Lab_Barra2->setObjectName(QStringLiteral("Lab_Barra2"));
    Lab_Barra1->setGeometry(34, 5, 8, 24);
    Lab_Barra2->setGeometry(70, 5, 8, 24);
    // A full day box passes on to the month, a full month to the year, whose
    // text is selected so that typing replaces it.
    connect(Tex_FecDia, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (t.size() == 2 && Tex_FecDia->cursorPosition() == 2) {
            Tex_FecMes->setFocus();
            Tex_FecMes->selectAll();
        }
    });
    connect(Tex_FecMes, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (t.size() == 2 && Tex_FecMes->cursorPosition() == 2) {
            Tex_FecAno->setFocus();
            Tex_FecAno->selectAll();
        }
    });
    Pic_FecJor->hide();

    for (int s = 1; s <= 30; ++s) {
        QComboBox* cbo = Cbo_Equipo[s];
        const int m = (s + 1) / 2;
        const QString nombre =
            QStringLiteral("Partido %1, equipo de %2").arg(m).arg(s % 2 ? "casa" : "fuera");
        cbo->setAccessibleName(nombre);
        cbo->setEditable(true);
        // The field and the list inside it are named after the box.
        cbo->lineEdit()->setAccessibleName(nombre);
        cbo->view()->setAccessibleName(QStringLiteral("Equipos para el ") + nombre.toLower());
        cbo->setInsertPolicy(QComboBox::NoInsert);
        cbo->setMaxVisibleItems(15);
        cbo->lineEdit()->setMaxLength(static_cast<int>(kAnchoEquipo));
        CajaNombreEquipo(cbo->lineEdit(), st_, sv_, this);
        cbo->setGeometry(s % 2 ? 64 : 246, kYPartidos + (m - 1) * kAltoFila, 170, kAltoFila - 3);
        connect(cbo->lineEdit(), &QLineEdit::textEdited, this, [this] { Pic_Guardar->PonActivo(true); });
        connect(cbo, &QComboBox::activated, this, [this] { Pic_Guardar->PonActivo(true); });
        if (s < 30)
            connect(cbo->lineEdit(), &QLineEdit::returnPressed, this,
                    [this, s] { Cbo_Equipo[s + 1]->setFocus(); });
    }

    const int yBotones = kAlto - TamBoton - 20;
    Pic_Guardar->move(kAncho - 30 - 4 * TamBoton - 30, yBotones);
    Pic_Equipos->move(kAncho - 30 - 3 * TamBoton - 20, yBotones);
    Pic_Ayuda->move(kAncho - 30 - 2 * TamBoton - 10, yBotones);
    Pic_Salir->move(kAncho - 30 - TamBoton, yBotones);
    Pic_Guardar->PonActivo(false);
    connect(Campo_Jornada, &BotonImagen::pulsado, this, [this] { PulsaJornada(); });
    connect(Campo_Fecha, &BotonImagen::pulsado, this, [this] { PulsaFecha(); });
    connect(Lis_Jornadas, &QListWidget::itemClicked, this, [this] {
        if (jornadaAbierta_) PulsaJornada();
    });
    connect(Lis_Jornadas, &QListWidget::itemActivated, this, [this] {
        if (jornadaAbierta_) PulsaJornada();
    });
    connect(Pic_Guardar, &BotonImagen::pulsado, this, [this] { Guardar(); });
    connect(Pic_Equipos, &BotonImagen::pulsado, this, [this] { AbreEquipos(); });
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::Jornadas); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] { Sal(); });
    // Escape leaves as the exit button does.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { Pic_Salir->Pulsa(); });

    CreaCboEquipo();

    // The screen opens on the current matchday: the list is filled and the
    // field closed without a sound.
    jornadaAbierta_ = true;
    st_.CambioInterno = Verdadero;
    LlenaListaJornadas(Lis_Jornadas, st_.Datos.TotJornadas);
    Lis_Jornadas->move(AreaJornada().x(), AreaJornada().bottom() + 4);
    Lis_Jornadas->setCurrentRow(std::clamp<int>(st_.Jornada(), 1, std::max<int>(1, Lis_Jornadas->count())) -
                                1);
    PulsaJornada();
    st_.CambioInterno = Falso;
    Campo_Jornada->setFocus();
}

QRect Jornadas::AreaJornada() { return QRect(30, 22, 170, 30); }
QRect Jornadas::AreaFecha() { return QRect(230, 22, 180, 30); }

void Jornadas::PulsaJornada() {
    if (!jornadaAbierta_) {
        jornadaAbierta_ = true;
        sv_.Sonar(Sonido::Abre);
        update();
        Lis_Jornadas->show();
        Lis_Jornadas->raise();
        Lis_Jornadas->setFocus();
        return;
    }
    jornadaAbierta_ = false;
    if (st_.CambioInterno == Falso) sv_.Sonar(Sonido::Cierra);
    const bool conFoco = Lis_Jornadas->hasFocus();
    Lis_Jornadas->hide();
    if (conFoco) Campo_Jornada->setFocus();
    CierraJornada();
}

void Jornadas::CierraJornada() {
    if (const QListWidgetItem* item = Lis_Jornadas->currentItem())
        st_.Jornada() = static_cast<int16_t>(item->text().trimmed().toInt());
    LeeJornada(st_);
    const std::string& fecha = st_.Datos.FechaJornada;
    Tex_FecDia->setText(DeCp1252(fecha.substr(0, 2)));
    Tex_FecMes->setText(DeCp1252(fecha.substr(3, 2)));
    Tex_FecAno->setText(DeCp1252(fecha.substr(6, 2)));
    // Trailing blanks of a slot are not shown: a box holds the name alone,
    // with room to type after it.
    for (int s = 1; s <= 30; ++s)
        Cbo_Equipo[s]->setEditText(DeCp1252(std::string(RecortaDer(SlotEquipo(st_.RegJornada, s)))));
    // What was typed for the previous matchday and not saved is dropped.
    Pic_Guardar->PonActivo(false);
    update();
}

void Jornadas::PulsaFecha() {
    if (!fechaAbierta_) {
        fechaAbierta_ = true;
        sv_.Sonar(Sonido::Abre);
        update();
        Pic_FecJor->show();
        Pic_FecJor->raise();
        Tex_FecDia->setFocus();
        Tex_FecDia->selectAll();
        return;
    }
    sv_.Sonar(Sonido::Cierra);
    CierraFecha();
}

bool Jornadas::CierraFecha() {
    for (QLineEdit* caja : {Tex_FecDia, Tex_FecMes, Tex_FecAno})
        if (caja->text().size() == 1) caja->setText(QLatin1Char('0') + caja->text());
    if (!ValidaFecha()) {
        Tex_FecDia->setFocus();
        return false;
    }
    fechaAbierta_ = false;
    Pic_FecJor->hide();
    const std::string fecha =
        ACp1252(Tex_FecDia->text() + '/' + Tex_FecMes->text() + '/' + Tex_FecAno->text());
    if (fecha != st_.Datos.FechaJornada) Pic_Guardar->PonActivo(true);
    st_.Datos.FechaJornada = fecha;
    Campo_Fecha->setFocus();
    update();
    return true;
}

bool Jornadas::ValidaFecha() {
    if (FechaValida(ACp1252(Tex_FecDia->text()), ACp1252(Tex_FecMes->text()), ACp1252(Tex_FecAno->text())))
        return true;
    Mensaje(st_, sv_, this, QString::fromUtf8(kTituloErrorFecha), QString::fromUtf8(kTextoErrorFecha));
    return false;
}

void Jornadas::CreaCboEquipo() {
    std::vector<std::string> nombres;
    LeeEquipos(st_, nombres, Op::CLE);
    // The file could not be read: the boxes keep the lists they had.
    if (st_.ErrorFichero != 0) return;
    QStringList lista;
    for (const std::string& n : nombres) lista << DeCp1252(n);
    for (int s = 1; s <= 30; ++s) {
        QComboBox* cbo = Cbo_Equipo[s];
        const QString texto = cbo->currentText();
        cbo->clear();
        cbo->addItems(lista);
        cbo->setEditText(texto);
    }
}

void Jornadas::Guardar() {
    sv_.Sonar(Sonido::Boton);
    // A date still being typed is taken as if its field had been closed.
    if (fechaAbierta_ && !CierraFecha()) return;
    if (!ValidaFecha()) return;
    std::array<std::string, 30> equipos;
    for (int s = 1; s <= 30; ++s) {
        equipos[s - 1] = ACp1252(Cbo_Equipo[s]->currentText());
        // A name read from a record written elsewhere may hold what no box
        // lets through.
        if (const std::string problema = ProblemaCaracteresNombre(equipos[s - 1]); !problema.empty()) {
            Mensaje(st_, sv_, this, QStringLiteral("NOMBRE DE EQUIPO NO VÁLIDO"),
                    QStringLiteral("El equipo de %1 del partido %2 %3. Corríjalo antes de guardar la jornada: "
                                   "un nombre no lleva comas, comillas, saltos de línea ni otros caracteres "
                                   "de control.")
                        .arg(s % 2 ? QStringLiteral("casa") : QStringLiteral("fuera"))
                        .arg((s + 1) / 2)
                        .arg(QString::fromStdString(problema)));
            Cbo_Equipo[s]->setFocus();
            return;
        }
    }
    PunteroEspera espera;
    Pic_Guardar->PonActivo(false);
    const std::string reg = RegistroEditor(st_.RegJornada, st_.Jornada(), st_.Datos.FechaJornada, equipos);
    // Only the date and the teams are the editor's; they are written only
    // while the file holds those the screen read.
    const GrabacionJornada g =
        GrabaCamposJornada(st_, st_.Jornada(), CamposJornada::FechaYEquipos, reg, st_.RegJornada, true);
    const bool cambiada = g.cambiada || g.borrada;
    if (g.error != 0 || cambiada) Pic_Guardar->PonActivo(true);  // what was typed stays, to save again
    if (g.error != 0) {
        if (st_.informador)
            st_.informador->ErrorFichero(
                "No se ha podido grabar la jornada en el fichero JORNADAS.TBX (error " +
                std::to_string(g.error) + ").");
        return;
    }
    // What the file holds now is what a second press would replace.
    st_.RegJornada = g.registro;
    if (cambiada)
        Mensaje(st_, sv_, this, QString::fromUtf8(kTituloJornadaCambiada),
                QString::fromStdString(TextoJornadaCambiada(st_.Jornada(), CamposJornada::FechaYEquipos)));
}

void Jornadas::AbreEquipos() {
    sv_.Sonar(Sonido::Boton);
    {
        Equipos lista(st_, sv_, this);
        lista.exec();
    }
    CreaCboEquipo();
}

void Jornadas::Sal() {
    sv_.Sonar(Sonido::Salida);
    reject();
}

void Jornadas::done(int resultado) {
    if (!cerrado_) {
        // The shared record and date go back to what the file holds: a date
        // typed and not saved does not outlive the screen.
        cerrado_ = true;
        jornadaAbierta_ = fechaAbierta_ = false;
        st_.RegJornada = LeeRegistroJornada(st_, st_.Jornada());
        st_.Datos.FechaJornada = st_.RegJornada.substr(5, 8);
    }
    QDialog::done(resultado);
}

void Jornadas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    const std::string& fecha = st_.Datos.FechaJornada;
    DibujaCampo(p, AreaJornada(), QStringLiteral("Jornada"), QString::number(st_.Jornada()), kColumnaValor);
    DibujaCampo(p, AreaFecha(), QStringLiteral("Fecha:"), DeCp1252(fecha), kColumnaValor);
    if (jornadaAbierta_) MarcaPulsado(p, AreaJornada());
    if (fechaAbierta_) MarcaPulsado(p, AreaFecha());
    EscribeRotulo(p, 30, 68, QStringLiteral("Partidos incluidos en el boleto"));
    p.setFont(LetraCampo());
    p.setPen(ColorWin(Color::Amarillo));
    for (int m = 1; m <= 15; ++m) {
        const QRect fila(24, kYPartidos + (m - 1) * kAltoFila, 34, kAltoFila - 3);
        p.drawText(fila, Qt::AlignRight | Qt::AlignVCenter, QString::number(m));
        p.drawText(QRect(234, fila.y(), 12, fila.height()), Qt::AlignCenter, QStringLiteral("-"));
    }
}

void Jornadas::mousePressEvent(QMouseEvent* e) {
    e->accept();
    const QPoint pt = e->position().toPoint();
    if (AreaJornada().contains(pt))
        PulsaJornada();
    else if (AreaFecha().contains(pt))
        PulsaFecha();
}

void Jornadas::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    if (AreaJornada().contains(pt) || AreaFecha().contains(pt))
        PonCursor(this, QStringLiteral("ManoIndice"));
    else
        unsetCursor();
}

bool Jornadas::eventFilter(QObject* objeto, QEvent* evento) {
    // The matchday list losing the focus closes it, as a press would;
    // switching to another window does not.
    if (objeto == Lis_Jornadas && evento->type() == QEvent::FocusOut && jornadaAbierta_ && !cerrado_ &&
        st_.CambioInterno == Falso) {
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) PulsaJornada();
    }
    return QDialog::eventFilter(objeto, evento);
}

}  // namespace tobal
