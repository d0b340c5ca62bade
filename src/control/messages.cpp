#include "control/messages.h"

#include <QMessageBox>
#include <QPushButton>

namespace velmora {

void QMessageBoxMessages::show(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
    // The whole window speaks Chinese, whatever language the desktop is set to.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

}  // namespace velmora
