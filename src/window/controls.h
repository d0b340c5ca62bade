#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace velmora {

// The draw log's box. Its text is one run of records without line breaks. Each appended record
// becomes a paragraph of its own in the document, so adding to a long log lays out one new line
// instead of the whole log; the paragraph breaks are layout only, and text() and copying leave
// them out.
class LogBox final : public QPlainTextEdit {
public:
    explicit LogBox(QWidget* parent = nullptr);

    QString text() const;
    void appendText(const QString& piece);
    void moveCaretToEnd();
    // Added below the platform's own items of the box's context menu.
    void setMenuActions(const QList<QAction*>& actions) { menuActions_ = actions; }

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QList<QAction*> menuActions_;
};

// A push button that draws its caption the classic way: a line break at the caption's end adds no
// empty line under it, so the caption stays centred on the button.
class CaptionButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A label that reports the mouse moving over it and clicks on it; a double click is one click.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void hovered();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// A captioned frame drawn the classic way: an etched border whose top line runs through the
// caption, whatever the widget style does with group boxes.
class CaptionedFrame final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A picture stretched to fill the widget, width and height scaled independently. Where Qt SVG is
// at hand the vector picture is drawn at the screen's resolution, so it stays sharp at any scale
// factor; elsewhere (the Windows build) a PNG of the designed size is scaled.
class Picture final : public QWidget {
public:
    // The resource's name without its ending: ":/velmora/knot".
    Picture(const QString& resource, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(QPainter&, const QRectF&)> draw_;
};

}  // namespace velmora
