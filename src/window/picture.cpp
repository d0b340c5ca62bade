#include "window/picture.h"

#include <QPainter>

namespace velmora {

Picture::Picture(const QString& resource, QWidget* parent) : QWidget(parent), renderer_(resource) {
    renderer_.setAspectRatioMode(Qt::IgnoreAspectRatio);
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, QRectF(rect()));
}

}  // namespace velmora
