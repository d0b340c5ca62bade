#pragma once

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QHash>
#include <QList>
#include <QStaticText>
#include <QWidget>

#include <array>
#include <vector>

class QAction;
class QLabel;
class QTabWidget;

namespace velmora {

class SessionStats;
struct Draw;

// The draws from `first` to `last` to the clipboard, tab-separated under the record's header.
void CopyTable(const SessionStats& stats, qint64 first, qint64 last);

// The views players read side by side, one tab each, all drawn from the same statistics.
enum class ChartView { Basic, Distribution, Sum, Span, Form };
inline constexpr int kChartViews = 5;
QString ChartViewTitle(ChartView view);  // 基本走势, 号码分布, …

// The session's draws drawn as the chart sites draw the official ones, in one of the views: a row
// per draw; blocks of marked columns with the draw's mark in a disc or box and the omissions of
// the others; lines joining a block's marks from row to row where a draw has one mark in it;
// columns of text (和值, 开奖号码 …); the totals in the footer. Only the rows in view are
// painted, so the cost of a frame follows the window's height, not the session's length. The
// header and footer stay put while the rows scroll; the newest row stays in view until the user
// scrolls away from it.
//
// It is a table to the keyboard and to screen readers: a focus cell that the arrow keys, Home,
// End and the page keys move, rows selected with Shift, Ctrl+C to copy them as the record is
// copied.
class TrendChart final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TrendChart(const SessionStats& stats, ChartView view = ChartView::Basic,
                        QWidget* parent = nullptr);
    ~TrendChart() override;

    QSize sizeHint() const override;
    int rowHeight() const { return row_; }
    int contentWidth() const;  // of the rows, label to last column
    ChartView view() const { return view_; }

    // The table as a screen reader reads it: a row per draw, the view's columns left to right.
    qint64 rowCount() const;
    int columnCount() const { return static_cast<int>(columns_.size()); }
    QString columnName(int column) const;    // 百位 7, 和值 18, 大小比 2:1, 开奖号码
    QString columnTotals(int column) const;  // the footer's figures, or nothing for text columns
    QString cellText(qint64 row, int column) const;  // what the cell shows: "7", "遗漏 12"
    QRect cellRect(qint64 row, int column) const;    // in the viewport

    // The cell the keys move, -1 before there is one.
    qint64 focusRow() const { return focusRow_; }
    int focusColumn() const { return focusColumn_; }
    void setFocusCell(qint64 row, int column, bool extendSelection = false);
    // Selected rows, first to last; none when first > last.
    qint64 firstSelected() const { return firstSelected_; }
    qint64 lastSelected() const { return lastSelected_; }
    void selectRows(qint64 first, qint64 last);
    // The selected rows, or else the focus row, to the clipboard as the record is copied.
    void copy() const;

    // At most this many rows go into a picture: a taller one is more than a viewer shows whole,
    // and its memory grows with it (about 64 KiB per row at twice the scale).
    static constexpr qint64 kMostPictureRows = 500;
    // A run of columns under one heading (defined where the views are).
    struct Block;
    // A PNG of the header, the newest `rows` rows, the footer and the caption under them, at
    // `scale` device pixels to a pixel, written whole or not at all. Returns why it could not.
    QString savePicture(const QString& path, qint64 rows, qreal scale,
                        const QString& caption) const;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class ChartAccessible;
    struct Column {
        int block;
        int index;  // within its block
        int left;
        int width;
    };

    void layOut();
    void drawAdded();
    void updateScrollBars();
    void ensureVisible(qint64 row, int column);
    void announceFocus();
    int bodyHeight() const;
    int marked(const Column& column) const;  // its marked column, or -1 for a column of text
    // The header, the rows scrolled by `scroll` in a body `body` high, and the footer.
    void paintChart(QPainter& painter, qint64 scroll, int body) const;
    const QStaticText& prepared(const QString& text, bool bold) const;
    void drawFitted(QPainter& painter, const QRectF& cell, const QString& text,
                    bool bold = false) const;

    const SessionStats& stats_;
    const ChartView view_;
    std::vector<Block> blocks_;
    std::vector<Column> columns_;
    // Whether the newest row is kept in view: until the user scrolls away from it.
    bool following_ = true;
    int row_ = 20;
    int cell_ = 20;
    int label_ = 80;
    qint64 focusRow_ = -1;
    int focusColumn_ = 0;
    qint64 anchor_ = -1;
    qint64 firstSelected_ = 0;
    qint64 lastSelected_ = -1;
    // Laid out for the font they were made with; emptied when it changes.
    mutable std::array<QHash<QString, QStaticText>, 2> texts_;  // regular, bold
    // The screen reader's cells, by row and column (-1 for the headers).
    mutable QHash<std::pair<qint64, int>, QAccessible::Id> accessibleCells_;
};

// The chart's own window: the views as tabs, under them a line saying whether the draws look
// fair, and the record's commands.
class TrendChartWindow final : public QWidget {
    Q_OBJECT
public:
    TrendChartWindow(const SessionStats& stats, const QList<QAction*>& actions,
                     QWidget* parent = nullptr);

    // The view on top.
    TrendChart& chart();
    void setView(ChartView view);
    QString verdict() const;

private:
    const SessionStats& stats_;
    QTabWidget* tabs_;
    QLabel* verdict_;
};

}  // namespace velmora
