#include "platform/TextoLeido.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tobal {

namespace {

// A label for assistive technology: its name says what it is, its
// description and value hold the text shown.
class TextoAccesible : public QAccessibleWidget {
public:
    explicit TextoAccesible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return widget()->accessibleDescription();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* Fabrica(const QString& clase, QObject* objeto) {
    if (clase == QLatin1String("tobal::TextoLeido") && objeto && objeto->isWidgetType())
        return new TextoAccesible(static_cast<QWidget*>(objeto));
    return nullptr;
}

}  // namespace

TextoLeido::TextoLeido(const QString& control, const QString& nombre, const QRect& area, QWidget* padre)
    : QWidget(padre) {
    static const bool fabrica = (QAccessible::installFactory(Fabrica), true);
    (void)fabrica;
    setObjectName(control);
    setAccessibleName(nombre);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(area);
}

void TextoLeido::PonTexto(const QString& texto) {
    if (texto == accessibleDescription()) return;
    // Qt announces the change of the description to assistive technology.
    setAccessibleDescription(texto);
}

}  // namespace tobal
