#include "window/trendchart.h"

#include "stats/sessionstats.h"
#include "window/look.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QScrollBar>
#include <QStaticText>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace velmora {

using namespace Qt::StringLiterals;

namespace {

constexpr int kHeaderRows = 2;
constexpr int kFooterRows = 3;
constexpr int kPositions = SessionStats::kPositions;
constexpr int kDigits = SessionStats::kDigits;

const std::array<QColor, kPositions> kDisc{QColor(0xD0, 0x31, 0x2D), QColor(0x1F, 0x66, 0xC7),
                                           QColor(0x2E, 0x8B, 0x3E)};
const std::array<QColor, kPositions> kTint{QColor(0xFF, 0xF4, 0xF3), QColor(0xF2, 0xF6, 0xFD),
                                           QColor(0xF1, 0xF9, 0xF2)};
const QColor kGrid(0xD8, 0xD8, 0xD8);
const QColor kBlockLine(0x90, 0x90, 0x90);
const QColor kOmission(0xA0, 0xA0, 0xA0);
const QColor kInk(0x20, 0x20, 0x20);
const QColor kHeader(0xEA, 0xEE, 0xF4);

QColor ShapeColour(Shape shape) {
    return shape == Shape::Triple ? kDisc[0] : shape == Shape::Pair ? kDisc[1] : kInk;
}

}  // namespace

TrendChart::TrendChart(const SessionStats& stats, QWidget* parent)
    : QAbstractScrollArea(parent), stats_(stats) {
    setFont(SongFont(9));
    const QFontMetrics metrics(font());
    row_ = std::max(20, metrics.height() + 6);
    cell_ = row_;
    label_ = std::max(metrics.horizontalAdvance(u"第0000000次"_s),
                      metrics.horizontalAdvance(u"出现次数"_s)) +
             10;
    extra_ = metrics.horizontalAdvance(u"组六"_s) + 14;
    viewport()->setBackgroundRole(QPalette::Base);
    // Always there, so that the chart does not jump sideways once it outgrows its window.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMinimumHeight((kHeaderRows + kFooterRows + 5) * row_);
    connect(&stats_, &SessionStats::drawAdded, this, &TrendChart::drawAdded);
    updateScrollBars();
}

QSize TrendChart::sizeHint() const {
    const int frame = 2 * frameWidth();
    return {contentWidth() + frame + verticalScrollBar()->sizeHint().width(),
            (kHeaderRows + 24 + kFooterRows) * row_ + frame};
}

int TrendChart::contentWidth() const {
    return label_ + kPositions * kDigits * cell_ + 3 * extra_;
}

int TrendChart::bodyHeight() const {
    return std::max(0, viewport()->height() - (kHeaderRows + kFooterRows) * row_);
}

int TrendChart::cellLeft(int position, int digit) const {
    return label_ + (position * kDigits + digit) * cell_;
}

const QStaticText& TrendChart::prepared(const QString& text, bool bold) const {
    // Laid out once: a frame draws some thousand small numbers, most of them the same few.
    QHash<QString, QStaticText>& cache = texts_[bold ? 1 : 0];
    if (cache.size() > 4096) {
        cache.clear();
    }
    auto it = cache.find(text);
    if (it == cache.end()) {
        QFont font = this->font();
        font.setBold(bold);
        it = cache.insert(text, QStaticText(text));
        it->setTextFormat(Qt::PlainText);
        it->prepare(QTransform(), font);
    }
    return *it;
}

// Centred in its cell; a number wider than the cell (a long omission, a large count) is
// squeezed sideways rather than cut.
void TrendChart::drawFitted(QPainter& painter, const QRectF& cell, const QString& text,
                            bool bold) const {
    const QStaticText& prepared = this->prepared(text, bold);
    const QSizeF size = prepared.size();
    const qreal room = cell.width() - 2;
    const QPointF centre = cell.center();
    if (size.width() <= room) {
        painter.drawStaticText(
            QPointF(centre.x() - size.width() / 2, centre.y() - size.height() / 2), prepared);
        return;
    }
    painter.save();
    painter.translate(centre.x(), centre.y() - size.height() / 2);
    painter.scale(room / size.width(), 1);
    painter.drawStaticText(QPointF(-size.width() / 2, 0), prepared);
    painter.restore();
}

void TrendChart::drawAdded() {
    updateScrollBars();
    viewport()->update();
}

void TrendChart::updateScrollBars() {
    QScrollBar* bar = verticalScrollBar();
    const qint64 rows = stats_.size() * row_;
    bar->setRange(0, static_cast<int>(std::max<qint64>(0, rows - bodyHeight())));
    bar->setPageStep(std::max(row_, bodyHeight()));
    bar->setSingleStep(row_);
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth() - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(cell_);
    if (following_) {
        bar->setValue(bar->maximum());
    }
}

void TrendChart::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TrendChart::scrollContentsBy(int, int) {
    following_ = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
    viewport()->update();
}

void TrendChart::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.translate(-horizontalScrollBar()->value(), 0);
    const int width = contentWidth();
    const int top = kHeaderRows * row_;
    const int bottom = top + bodyHeight();
    const int scroll = verticalScrollBar()->value();
    const qint64 count = stats_.size();
    const qint64 first = scroll / row_;
    const qint64 last =
        std::min(count - 1, (scroll + bodyHeight() - 1) / static_cast<qint64>(row_));
    const auto rowTop = [&](qint64 row) { return top + static_cast<int>(row * row_ - scroll); };
    const auto centre = [&](qint64 row, int position, int digit) {
        return QPointF(cellLeft(position, digit) + cell_ / 2.0, rowTop(row) + row_ / 2.0);
    };
    const int extras = cellLeft(kPositions, 0);
    QFont bold = font();
    bold.setBold(true);

    // The rows in view, between the header and the footer.
    painter.save();
    painter.setClipRect(QRect(0, top, width, bottom - top));
    for (int p = 0; p < kPositions; ++p) {
        painter.fillRect(QRect(cellLeft(p, 0), top, kDigits * cell_, bottom - top), kTint[p]);
    }
    for (qint64 row = first; row <= last; ++row) {
        painter.setPen(kGrid);
        painter.drawLine(0, rowTop(row) + row_ - 1, width, rowTop(row) + row_ - 1);
    }
    if (first <= last) {
        Omissions omissions = stats_.omissionsAt(first);
        for (qint64 row = first; row <= last; ++row) {
            const Draw draw = stats_.draw(row);
            if (row > first) {
                SessionStats::Advance(omissions, draw);
            }
            const int y = rowTop(row);
            painter.setPen(kInk);
            drawFitted(painter, QRect(0, y, label_, row_),
                       u"第"_s + QString::number(row + 1) + u"次"_s);
            drawFitted(painter, QRect(extras, y, extra_, row_), QString::number(draw.sum()));
            drawFitted(painter, QRect(extras + extra_, y, extra_, row_),
                       QString::number(draw.span()));
            painter.setPen(ShapeColour(draw.shape()));
            drawFitted(painter, QRect(extras + 2 * extra_, y, extra_, row_), draw.shapeName());
            painter.setPen(kOmission);
            for (int p = 0; p < kPositions; ++p) {
                for (int digit = 0; digit < kDigits; ++digit) {
                    if (digit != draw.digits[p]) {
                        drawFitted(painter, QRect(cellLeft(p, digit), y, cell_, row_),
                                   QString::number(omissions[p][digit]));
                    }
                }
            }
        }
        // Each position's line runs on from the rows just out of view, then its discs go on top.
        painter.setRenderHint(QPainter::Antialiasing);
        const qint64 from = std::max<qint64>(0, first - 1);
        const qint64 to = std::min(count - 1, last + 1);
        for (int p = 0; p < kPositions; ++p) {
            QPolygonF line;
            for (qint64 row = from; row <= to; ++row) {
                line << centre(row, p, stats_.draw(row).digits[p]);
            }
            painter.setPen(QPen(kDisc[p], 1.5));
            painter.drawPolyline(line);
        }
        painter.setFont(bold);
        const qreal radius = (cell_ - 3) / 2.0;
        for (qint64 row = first; row <= last; ++row) {
            const Draw draw = stats_.draw(row);
            for (int p = 0; p < kPositions; ++p) {
                const QPointF at = centre(row, p, draw.digits[p]);
                painter.setPen(Qt::NoPen);
                painter.setBrush(kDisc[p]);
                painter.drawEllipse(at, radius, radius);
                painter.setPen(Qt::white);
                drawFitted(painter,
                           QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius),
                           QString::number(draw.digits[p]), true);
            }
        }
        painter.setFont(font());
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.restore();

    // The header and the footer, which stay where they are.
    painter.fillRect(QRect(0, 0, width, top), kHeader);
    painter.fillRect(QRect(0, bottom, width, kFooterRows * row_), kHeader);
    painter.setPen(kInk);
    painter.drawText(QRect(0, 0, label_, top), Qt::AlignCenter, u"次序"_s);
    const std::array<QString, kPositions> positions{u"百位"_s, u"十位"_s, u"个位"_s};
    const std::array<QString, 3> extraNames{u"和值"_s, u"跨度"_s, u"形态"_s};
    for (int i = 0; i < 3; ++i) {
        painter.drawText(QRect(extras + i * extra_, 0, extra_, top), Qt::AlignCenter,
                         extraNames[i]);
    }
    const std::array<QString, kFooterRows> footer{u"出现次数"_s, u"最大遗漏"_s, u"最大连出"_s};
    for (int f = 0; f < kFooterRows; ++f) {
        painter.drawText(QRect(0, bottom + f * row_, label_, row_), Qt::AlignCenter, footer[f]);
    }
    for (int p = 0; p < kPositions; ++p) {
        painter.drawText(QRect(cellLeft(p, 0), 0, kDigits * cell_, row_), Qt::AlignCenter,
                         positions[p]);
        for (int digit = 0; digit < kDigits; ++digit) {
            const int x = cellLeft(p, digit);
            drawFitted(painter, QRect(x, row_, cell_, row_), QString::number(digit));
            const std::array<qint64, kFooterRows> totals{stats_.occurrences(p, digit),
                                                         stats_.longestOmission(p, digit),
                                                         stats_.longestRun(p, digit)};
            for (int f = 0; f < kFooterRows; ++f) {
                drawFitted(painter, QRect(x, bottom + f * row_, cell_, row_),
                           QString::number(totals[f]));
            }
        }
    }
    // Grid of the header and footer, and the lines between the blocks from top to bottom.
    painter.setPen(kGrid);
    for (int y : {row_, top - 1, bottom, bottom + row_, bottom + 2 * row_}) {
        painter.drawLine(y == row_ ? label_ : 0, y, y == row_ ? extras : width, y);
    }
    for (int p = 0; p < kPositions; ++p) {
        for (int digit = 1; digit < kDigits; ++digit) {
            const int x = cellLeft(p, digit);
            painter.drawLine(x, row_, x, top);
            painter.drawLine(x, bottom, x, bottom + kFooterRows * row_);
        }
    }
    painter.setPen(kBlockLine);
    const int end = bottom + kFooterRows * row_;
    for (int x : {label_, cellLeft(1, 0), cellLeft(2, 0), extras, extras + extra_,
                  extras + 2 * extra_, width - 1}) {
        painter.drawLine(x, 0, x, end);
    }
    painter.drawLine(0, top - 1, width, top - 1);
    painter.drawLine(0, bottom, width, bottom);
}

TrendChartWindow::TrendChartWindow(const SessionStats& stats, const QList<QAction*>& recordActions,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window),
      stats_(stats),
      chart_(new TrendChart(stats, this)),
      verdict_(new QLabel(this)) {
    setObjectName(u"TrendChart"_s);
    setWindowTitle(u"走势图 (本次摇奖)"_s);
    setFont(SongFont(9));
    verdict_->setFont(SongFont(10.5));
    verdict_->setWordWrap(true);
    verdict_->setTextFormat(Qt::PlainText);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QAction* action : recordActions) {
        auto* button = new QPushButton(action->text(), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart_, 1);
    layout->addWidget(verdict_);
    layout->addLayout(buttons);
    // A screen reader cannot read a painted grid: it hears the newest draw instead.
    chart_->setAccessibleName(u"走势图"_s);
    const auto update = [this] {
        verdict_->setText(stats_.verdict());
        if (stats_.size() > 0) {
            const Draw d = stats_.draw(stats_.size() - 1);
            chart_->setAccessibleDescription(
                u"最新：第%1次 %2 %3 %4，和值 %5，跨度 %6，%7"_s.arg(stats_.size())
                    .arg(d.digits[0])
                    .arg(d.digits[1])
                    .arg(d.digits[2])
                    .arg(d.sum())
                    .arg(d.span())
                    .arg(d.shapeName()));
        }
    };
    update();
    connect(&stats_, &SessionStats::drawAdded, verdict_, update);
}

}  // namespace velmora
