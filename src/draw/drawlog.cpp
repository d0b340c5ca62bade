#include "draw/drawlog.h"

#include "draw/val.h"

namespace velmora {

using namespace Qt::StringLiterals;

namespace {

QString DrawRecord(const QString& counter, const DrawSlots& slots) {
    QString record = u"第"_s + counter + u"次开奖结果:"_s;
    for (const DrawSlot& slot : slots) {
        if (slot) {
            record += DigitText(*slot);
        }
    }
    return record + QString(21, u' ');
}

}  // namespace

QString DrawLog::counter() const {
    return DigitText(count_);
}

void DrawLog::TrimLog() {
    if (text_.size() > kLimit) {
        Clear();
    }
}

void DrawLog::CountDraw() {
    count_ += 1;
    Q_EMIT counterChanged(counter());
}

void DrawLog::AppendDrawRecord(const DrawSlots& slots) {
    const QString record = DrawRecord(counter(), slots);
    text_ += record;
    Q_EMIT recordAppended(record);
}

void DrawLog::Clear() {
    if (!text_.isEmpty()) {
        text_.clear();
        Q_EMIT cleared();
    }
}

}  // namespace velmora
