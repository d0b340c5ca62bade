#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QStaticText>
#include <QWidget>

#include <array>

class QAction;
class QLabel;

namespace velmora {

class SessionStats;

// The session's draws drawn as the chart sites draw the official ones: a row per draw, per
// position ten columns with the drawn digit in a disc and the omissions of the others, lines
// joining each position's discs, 和值, 跨度 and 形态, and the totals in the footer. Only the rows
// in view are painted, so the cost of a frame follows the window's height, not the session's
// length. The header and footer stay put while the rows scroll; the newest row stays in view
// until the user scrolls away from it.
class TrendChart final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TrendChart(const SessionStats& stats, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    int rowHeight() const { return row_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void drawAdded();
    void updateScrollBars();
    int contentWidth() const;
    int bodyHeight() const;
    int cellLeft(int position, int digit) const;
    const QStaticText& prepared(const QString& text, bool bold) const;
    void drawFitted(QPainter& painter, const QRectF& cell, const QString& text,
                    bool bold = false) const;

    const SessionStats& stats_;
    // Whether the newest row is kept in view: until the user scrolls away from it.
    bool following_ = true;
    int row_ = 20;
    int cell_ = 20;
    int label_ = 80;
    int extra_ = 40;                                            // each of 和值, 跨度, 形态
    mutable std::array<QHash<QString, QStaticText>, 2> texts_;  // regular, bold
};

// The chart's own window, with a line under the chart saying whether the draws look fair, and
// the record's commands.
class TrendChartWindow final : public QWidget {
    Q_OBJECT
public:
    TrendChartWindow(const SessionStats& stats, const QList<QAction*>& recordActions,
                     QWidget* parent = nullptr);

    TrendChart& chart() { return *chart_; }

private:
    const SessionStats& stats_;
    TrendChart* chart_;
    QLabel* verdict_;
};

}  // namespace velmora
