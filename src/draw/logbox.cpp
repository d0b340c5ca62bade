#include "draw/logbox.h"

#include <QMimeData>
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

qsizetype LogBox::length() const {
    // Every paragraph ends in one separator, the last one included, and none belongs to the text.
    return document()->characterCount() - document()->blockCount();
}

void LogBox::setText(const QString& text) {
    setPlainText(WithoutBreaks(text));
}

void LogBox::appendText(const QString& piece) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    if (!document()->isEmpty()) {
        end.insertBlock();
    }
    end.insertText(piece);
}

QMimeData* LogBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(WithoutBreaks(textCursor().selectedText()));
    return data;
}

}  // namespace velmora
