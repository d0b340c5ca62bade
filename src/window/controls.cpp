#include "window/controls.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#ifdef VELMORA_WITH_SVG
#include <QSvgRenderer>
#endif
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace velmora {

namespace {

QString WithoutBreaks(QString text) {
    text.remove(QChar::ParagraphSeparator);
    return text;
}

}  // namespace

LogBox::LogBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
}

QString LogBox::text() const {
    return WithoutBreaks(document()->toRawText());
}

void LogBox::appendText(const QString& piece) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    if (!document()->isEmpty()) {
        end.insertBlock();
    }
    end.insertText(piece);
}

void LogBox::moveCaretToEnd() {
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void LogBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->addSeparator();
    menu->addActions(menuActions_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMimeData* LogBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(WithoutBreaks(textCursor().selectedText()));
    return data;
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    while (option.text.endsWith(u'\n') || option.text.endsWith(u'\r')) {
        option.text.chop(1);
    }
    painter.drawControl(QStyle::CE_PushButton, option);
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT hovered();
    event->accept();
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click; its release must not open the page again.
    pressed_ = false;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        Q_EMIT clicked();
    }
}

void CaptionedFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int line = metrics.height() / 2;
    const QRect border = rect().adjusted(0, line, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.adjusted(1, 1, 0, 0));
    if (!title().isEmpty()) {
        const int indent = metrics.averageCharWidth();
        const QRect caption(indent, 0, metrics.horizontalAdvance(title()) + indent,
                            metrics.height());
        painter.fillRect(caption, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
    }
}

Picture::Picture(const QString& resource, QWidget* parent) : QWidget(parent) {
#ifdef VELMORA_WITH_SVG
    auto* renderer = new QSvgRenderer(resource + QStringLiteral(".svg"), this);
    renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
    draw_ = [renderer](QPainter& painter, const QRectF& place) {
        renderer->render(&painter, place);
    };
#else
    draw_ = [image = QImage(resource + QStringLiteral(".png"))](
                QPainter& painter, const QRectF& place) { painter.drawImage(place, image); };
#endif
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    draw_(painter, QRectF(rect()));
}

}  // namespace velmora
