#include "control/messages.h"

#include <QMessageBox>

namespace velmora {

void QMessageBoxMessages::show(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace velmora
