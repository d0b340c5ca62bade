#include "window/look.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

namespace velmora {

using namespace Qt::StringLiterals;

unsigned int ToBgr(const QColor& color) {
    return static_cast<unsigned int>(color.red()) |
           (static_cast<unsigned int>(color.green()) << 8) |
           (static_cast<unsigned int>(color.blue()) << 16);
}

namespace {

// Only faces with the designed face's metrics: a taller one (Noto CJK's lines are 40 % higher)
// would clip the captions and digits that the fixed layout was measured for.
QStringList SongFamilies() {
    static const QStringList families = [] {
        const QStringList faces{u"宋体"_s,           u"SimSun"_s,         u"NSimSun"_s,
                                u"AR PL UMing CN"_s, u"AR PL UMing TW"_s, u"AR PL SungtiL GB"_s};
        // Qt would pick the first installed face of the list too; naming it alone spares the
        // fallback list that a font of several families gets, whose making reads every installed
        // font (under Wine a quarter of a second with large CJK fonts).
        for (const QString& face : faces) {
            if (!QFontDatabase::styles(face).isEmpty()) {
                return QStringList{face};
            }
        }
        return faces;
    }();
    return families;
}

}  // namespace

QFont SongFont(qreal points, bool bold) {
    QFont font;
    font.setFamilies(SongFamilies());
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void SetForeColor(QWidget& widget, unsigned int bgr) {
    QPalette palette = widget.palette();
    const QColor color = FromBgr(bgr);
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget.setPalette(palette);
}

unsigned int ForeColor(const QWidget& widget) {
    return ToBgr(widget.palette().color(QPalette::WindowText));
}

}  // namespace velmora
