#include "CNumberEdit.h"

#include <QKeyEvent>

void CNumberEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier);
    const bool printable = !text.isEmpty() && text.at(0).isPrint();
    if (!command && printable) {
        for (const QChar ch : text) {
            if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) {
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}
