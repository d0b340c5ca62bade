#pragma once

#include <QPlainTextEdit>

namespace velmora {

// The draw log's box. Its text is one run of records without line breaks. Each appended piece
// becomes a paragraph of its own in the document, so adding to a long log lays out one new line
// instead of the whole log; the paragraph breaks are layout only, and text(), length() and
// copying leave them out.
class LogBox final : public QPlainTextEdit {
public:
    explicit LogBox(QWidget* parent = nullptr);

    QString text() const;
    qsizetype length() const;
    void setText(const QString& text);
    void appendText(const QString& piece);

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace velmora
