#include "window/controls.h"

#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
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

QMimeData* LogBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(WithoutBreaks(textCursor().selectedText()));
    return data;
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

Picture::Picture(const QString& resource, QWidget* parent) : QWidget(parent), renderer_(resource) {
    renderer_.setAspectRatioMode(Qt::IgnoreAspectRatio);
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, QRectF(rect()));
}

}  // namespace velmora
