#pragma once

#include <QSvgRenderer>
#include <QWidget>

namespace velmora {

// A vector picture stretched to fill the widget, width and height scaled independently; drawn
// at the screen's resolution, so it stays sharp at any scale factor.
class Picture final : public QWidget {
public:
    Picture(const QString& resource, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer renderer_;
};

}  // namespace velmora
