#include "window/filedialogs.h"

#include <QFileDialog>
#include <QInputDialog>

namespace velmora {

using namespace Qt::StringLiterals;

QString PlatformFileDialogs::saveFileName(QWidget* parent, const Save& save) {
    QFileDialog dialog(parent, save.title, save.suggested, save.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Without it a name typed bare would be saved bare, and nothing would open it.
    dialog.setDefaultSuffix(save.suffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

int PlatformFileDialogs::askNumber(QWidget* parent, const QString& title, const QString& label,
                                   int suggested, int most) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setIntRange(1, most);
    dialog.setIntValue(suggested);
    // The whole window speaks Chinese, whatever language the desktop is set to.
    dialog.setOkButtonText(u"确定"_s);
    dialog.setCancelButtonText(u"取消"_s);
    return dialog.exec() == QDialog::Accepted ? dialog.intValue() : 0;
}

}  // namespace velmora
