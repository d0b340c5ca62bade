#pragma once

#include "draw/drawslots.h"

#include <QObject>
#include <QString>

namespace velmora {

// The running log of draw records and the counter of draws started since the program started.
// The log is one run of records without line breaks, each ending in 21 blanks; past 58000
// characters it is discarded as a whole at the start of the next draw.
class DrawLog final : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kLimit = 58000;

    const QString& text() const { return text_; }
    QString counter() const;

    void TrimLog();
    void CountDraw();
    void AppendDrawRecord(const DrawSlots& slots);
    void MoveCaretToEnd() { Q_EMIT caretMovedToEnd(); }
    void Clear();

Q_SIGNALS:
    void counterChanged(const QString& counter);
    void recordAppended(const QString& record);
    void cleared();
    void caretMovedToEnd();

private:
    QString text_;
    double count_ = 0;
};

}  // namespace velmora
