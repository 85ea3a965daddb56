#include "platform/BotonImagen.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>

#include "platform/Recursos.h"

namespace tobal {

namespace {

QString NombreAccesible(const QString& control) {
    static const QHash<QString, QString> nombres = {
        {"Pic_Guardar", "Guardar"},   {"Pic_Salir", "Salir"},     {"Pic_Ayuda", "Ayuda"},
        {"Pic_Indice", "Índice"},     {"Pic_Borrar", "Borrar"},   {"Pic_Copiar", "Copiar"},
        {"Pic_Imprimir", "Imprimir"}, {"Pic_Reducir", "Reducir"}, {"Pic_Cancelar", "Cancelar"},
        {"Pic_Signosel", "Signos"},   {"Pic_Añadir", "Añadir"},   {"Pic_Equipos", "Equipos"}};
    return nombres.value(control, control.mid(4));
}

// A push button for assistive technology, unavailable while disabled.
class BotonAccesible : public QAccessibleWidget {
public:
    explicit BotonAccesible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& accion) override {
        if (accion == pressAction()) static_cast<BotonImagen*>(widget())->Pulsa();
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.disabled = !static_cast<BotonImagen*>(widget())->Activo();
        return s;
    }
    // A field's value is read as the button's description, as shown now.
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description)
            if (auto* zona = qobject_cast<ZonaCampo*>(widget()); zona && zona->valor) return zona->valor();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* FabricaAccesible(const QString& clase, QObject* objeto) {
    if ((clase == QLatin1String("tobal::BotonImagen") || clase == QLatin1String("tobal::ZonaCampo")) && objeto &&
        objeto->isWidgetType())
        return new BotonAccesible(static_cast<QWidget*>(objeto));
    return nullptr;
}

}  // namespace

BotonImagen::BotonImagen(const QString& control, QWidget* padre)
    : QWidget(padre), imagen_(ImagenBoton(control)) {
    static const bool fabrica = (QAccessible::installFactory(FabricaAccesible), true);
    (void)fabrica;
    setObjectName(control);
    setAccessibleName(NombreAccesible(control));
    // Reached by Tab only: a click does not take the focus from a field
    // being edited.
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(TamBoton, TamBoton);
    PonActivo(true);
}

void BotonImagen::PonActivo(bool activo) {
    // Tab reaches only what can be used.
    if (activo_ && !activo) politica_ = focusPolicy();
    activo_ = activo;
    setFocusPolicy(activo ? politica_ : Qt::NoFocus);
    setCursor(activo ? CursorPorNombre(QStringLiteral("ManoIndice")) : QCursor(Qt::ForbiddenCursor));
    update();
}

void BotonImagen::PonImagen(const QPixmap& imagen) {
    imagen_ = imagen;
    update();
}

QSize BotonImagen::sizeHint() const { return QSize(TamBoton, TamBoton); }

void BotonImagen::Pulsa() {
    if (activo_) emit pulsado();
}

void BotonImagen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // A disabled picture is shown faded so that it reads as unavailable
    // before the pointer reaches it.
    if (!activo_) p.setOpacity(0.45);
    p.drawPixmap(0, 0, imagen_);
    if (hasFocus()) {
        p.setOpacity(1);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void BotonImagen::mousePressEvent(QMouseEvent* e) {
    e->accept();
    Pulsa();
}

void BotonImagen::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            e->accept();
            Pulsa();
            return;
        default: QWidget::keyPressEvent(e);
    }
}

void BotonImagen::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void BotonImagen::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}

void AyudaConF1(QWidget* ventana) {
    auto* atajo = new QShortcut(QKeySequence(Qt::Key_F1), ventana);
    QObject::connect(atajo, &QShortcut::activated, ventana, [ventana] {
        for (QWidget* w = ventana; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
            auto* ayuda = w->findChild<BotonImagen*>(QStringLiteral("Pic_Ayuda"), Qt::FindDirectChildrenOnly);
            if (!ayuda) continue;
            if (ayuda->isVisible()) ayuda->Pulsa();
            return;
        }
    });
}

ZonaCampo::ZonaCampo(const QString& nombre, const QString& accesible, const QRect& area, QWidget* padre)
    : BotonImagen(nombre, padre) {
    setAccessibleName(accesible);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    unsetCursor();
    setFixedSize(area.size());
    move(area.topLeft());
}

}  // namespace tobal
