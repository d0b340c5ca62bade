#include "window/trendchart.h"

#include "stats/sessionstats.h"
#include "window/look.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPolygonF>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace velmora {

using namespace Qt::StringLiterals;

namespace {

constexpr int kHeaderRows = 2;
constexpr int kFooterRows = 3;
constexpr int kPositions = SessionStats::kPositions;
// A screen reader asks for cells one by one; past this many they are made anew.
constexpr qsizetype kMostAccessibleCells = 4096;

const std::array<QColor, kPositions> kDisc{QColor(0xD0, 0x31, 0x2D), QColor(0x1F, 0x66, 0xC7),
                                           QColor(0x2E, 0x8B, 0x3E)};
const std::array<QColor, kPositions> kTint{QColor(0xFF, 0xF4, 0xF3), QColor(0xF2, 0xF6, 0xFD),
                                           QColor(0xF1, 0xF9, 0xF2)};
// 号码分布: a digit drawn once, twice (组三's pair), three times (豹子).
const std::array<QColor, 3> kCountColour{kDisc[0], QColor(0xE0, 0x7B, 0x00),
                                         QColor(0x7B, 0x3F, 0xA0)};
const QColor kGrid(0xD8, 0xD8, 0xD8);
const QColor kBlockLine(0x90, 0x90, 0x90);
const QColor kOmission(0xA0, 0xA0, 0xA0);
const QColor kInk(0x20, 0x20, 0x20);
const QColor kHeader(0xEA, 0xEE, 0xF4);
const std::array<QString, kPositions> kPositionNames{u"百位"_s, u"十位"_s, u"个位"_s};

QColor ShapeColour(Shape shape) {
    return shape == Shape::Triple ? kDisc[0] : shape == Shape::Pair ? kDisc[1] : kInk;
}

// A column of text: what the draw shows in it.
enum class Text { None, Number, Sum, Span, Shape };

QString TextOf(Text text, const Draw& draw) {
    switch (text) {
        case Text::Number:
            return QString::number(draw.digits[0] * 100 + draw.digits[1] * 10 + draw.digits[2])
                .rightJustified(3, u'0');
        case Text::Sum:
            return QString::number(draw.sum());
        case Text::Span:
            return QString::number(draw.span());
        case Text::Shape:
        case Text::None:
            break;
    }
    return draw.shapeName();
}

QString RowName(qint64 row) {
    return u"第"_s + QString::number(row + 1) + u"次"_s;
}

QStringList Numbers(int from, int to) {
    QStringList numbers;
    for (int n = from; n <= to; ++n) {
        numbers << QString::number(n);
    }
    return numbers;
}

}  // namespace

// A run of columns under one heading: marked columns of the statistics, or one column of text.
struct TrendChart::Block {
    QString title;
    QStringList names;  // of its marked columns
    int first = -1;     // its first marked column
    Text text = Text::None;
    QColor colour = {};   // of its marks
    QColor tint = {};     // behind its rows
    bool discs = true;    // or boxes, for marks wider than a digit
    bool joined = false;  // a line joins its marks from row to row
    int left = 0;
    int cellWidth = 0;
    int width() const { return cellWidth * std::max<int>(1, static_cast<int>(names.size())); }
};

namespace {

std::vector<TrendChart::Block> Blocks(ChartView view) {
    using Block = TrendChart::Block;
    const QStringList ratios{u"3:0"_s, u"2:1"_s, u"1:2"_s, u"0:3"_s};
    const Block number{u"开奖号码"_s, {}, -1, Text::Number};
    switch (view) {
        case ChartView::Basic:
            return {{kPositionNames[0], Numbers(0, 9), marked::PositionDigit(0, 0), Text::None,
                     kDisc[0], kTint[0], true, true},
                    {kPositionNames[1], Numbers(0, 9), marked::PositionDigit(1, 0), Text::None,
                     kDisc[1], kTint[1], true, true},
                    {kPositionNames[2], Numbers(0, 9), marked::PositionDigit(2, 0), Text::None,
                     kDisc[2], kTint[2], true, true},
                    {u"和值"_s, {}, -1, Text::Sum},
                    {u"跨度"_s, {}, -1, Text::Span},
                    {u"形态"_s, {}, -1, Text::Shape}};
        case ChartView::Distribution:
            return {number,
                    {u"号码分布"_s, Numbers(0, 9), marked::kDigit, Text::None, kDisc[0], kTint[0]}};
        case ChartView::Sum:
            return {number,
                    {u"和值"_s, Numbers(0, 27), marked::kSum, Text::None, kDisc[0], kTint[0], true,
                     true}};
        case ChartView::Span:
            return {number,
                    {u"跨度"_s, Numbers(0, 9), marked::kSpan, Text::None, kDisc[1], kTint[1], true,
                     true}};
        case ChartView::Form:
            break;
    }
    std::vector<Block> blocks{
        number,
        {u"形态"_s,
         {u"豹子"_s, u"组三"_s, u"组六"_s},
         marked::kShape,
         Text::None,
         kInk,
         kHeader,
         false},
        {u"大小比"_s, ratios, marked::kBigSmall, Text::None, kDisc[0], kTint[0], false},
        {u"奇偶比"_s, ratios, marked::kOddEven, Text::None, kDisc[1], kTint[1], false},
        {u"质合比"_s, ratios, marked::kPrimeComposite, Text::None, kDisc[2], kTint[2], false}};
    for (int p = 0; p < kPositions; ++p) {
        blocks.push_back({kPositionNames[p] + u"012路"_s, Numbers(0, 2), marked::kRoute + 3 * p,
                          Text::None, kDisc[p], kTint[p], true, true});
    }
    return blocks;
}

// What a draw's mark shows: 号码分布 counts the digit, the others name their column.
QString MarkText(const TrendChart::Block& block, int index, const Draw& draw) {
    return block.first == marked::kDigit ? QString::number(draw.count(index)) : block.names[index];
}

QColor MarkColour(const TrendChart::Block& block, int index, const Draw& draw) {
    if (block.first == marked::kDigit) {
        return kCountColour[static_cast<std::size_t>(draw.count(index) - 1)];
    }
    return block.first == marked::kShape ? ShapeColour(static_cast<Shape>(index)) : block.colour;
}

}  // namespace

QString ChartViewTitle(ChartView view) {
    static const std::array<QString, kChartViews> titles{
        u"基本走势"_s, u"号码分布"_s, u"和值走势"_s, u"跨度走势"_s, u"形态与比值"_s};
    return titles[static_cast<std::size_t>(view)];
}

// One cell of a chart to a screen reader; at row -1 a column's header, at column -1 a row's.
class ChartCell final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ChartCell(TrendChart* chart, qint64 row, int column)
        : chart_(chart), row_(row), column_(column) {}

    bool isValid() const override {
        return chart_ != nullptr && row_ < chart_->rowCount() && column_ < chart_->columnCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return chart_->window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(chart_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Description) {
            return row_ < 0 ? chart_->columnTotals(column_) : QString();
        }
        if (type != QAccessible::Name) {
            return {};
        }
        return row_ < 0      ? chart_->columnName(column_)
               : column_ < 0 ? RowName(row_)
                             : chart_->cellText(row_, column_);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect cell = chart_->cellRect(row_, column_);
        return {chart_->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
    }
    QAccessible::Role role() const override {
        return row_ < 0      ? QAccessible::ColumnHeader
               : column_ < 0 ? QAccessible::RowHeader
                             : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = state.selectable = row_ >= 0 && column_ >= 0;
        state.focused = state.focusable && chart_->hasFocus() && chart_->focusRow() == row_ &&
                        chart_->focusColumn() == column_;
        state.selected = isSelected();
        state.offscreen = !chart_->viewport()->rect().intersects(chart_->cellRect(row_, column_));
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface && role() == QAccessible::Cell
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override {
        return row_ >= chart_->firstSelected() && row_ <= chart_->lastSelected();
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return static_cast<int>(row_); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<TrendChart> chart_;
    qint64 row_;
    int column_;
};

// The chart to a screen reader: a table of the draws, rows by columns, with a focus cell.
class ChartAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ChartAccessible(TrendChart* chart) : QAccessibleWidget(chart, QAccessible::Table) {}

    static QAccessibleInterface* Cell(TrendChart* chart, qint64 row, int column) {
        QAccessible::Id& id = chart->accessibleCells_[{row, column}];
        if (id == 0) {
            id = QAccessible::registerAccessibleInterface(new ChartCell(chart, row, column));
        }
        return QAccessible::accessibleInterface(id);
    }
    TrendChart* chart() const { return static_cast<TrendChart*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount()
                   ? cellAt(index / columnCount(), index % columnCount())
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return cell != nullptr && cell->table() == this
                   ? cell->rowIndex() * columnCount() + cell->columnIndex()
                   : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = chart()->viewport()->mapFromGlobal(QPoint(x, y));
        for (int column = 0; column < columnCount(); ++column) {
            const QRect cell = chart()->cellRect(0, column);
            if (at.x() >= cell.left() && at.x() <= cell.right() && at.y() >= cell.top()) {
                const qint64 row = (at.y() - cell.top()) / chart()->rowHeight();
                const QRect inRow = chart()->cellRect(row, column);
                return row < rowCount() && chart()->viewport()->rect().contains(inRow.center())
                           ? cellAt(static_cast<int>(row), column)
                           : nullptr;
            }
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return chart()->hasFocus() && chart()->focusRow() >= 0
                   ? cellAt(static_cast<int>(chart()->focusRow()), chart()->focusColumn())
                   : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return row >= 0 && row < rowCount() && column >= 0 && column < columnCount()
                   ? Cell(chart(), row, column)
                   : nullptr;
    }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    // Those in view: a selection of thousands of rows would be a million cells.
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows()) {
            for (int column = 0; column < columnCount(); ++column) {
                if (!chart()->viewport()->rect().intersects(chart()->cellRect(row, column))) {
                    continue;
                }
                cells << cellAt(row, column);
            }
        }
        return cells;
    }
    QString columnDescription(int column) const override { return chart()->columnName(column); }
    QString rowDescription(int row) const override { return RowName(row); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override {
        return static_cast<int>(
            std::max<qint64>(0, chart()->lastSelected() - chart()->firstSelected() + 1));
    }
    int columnCount() const override { return chart()->columnCount(); }
    int rowCount() const override { return static_cast<int>(chart()->rowCount()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (qint64 row = chart()->firstSelected(); row <= chart()->lastSelected(); ++row) {
            rows << static_cast<int>(row);
        }
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override {
        return row >= chart()->firstSelected() && row <= chart()->lastSelected();
    }
    bool selectRow(int row) override {
        chart()->selectRows(row, row);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override {
        if (isRowSelected(row)) {
            chart()->selectRows(0, -1);
        }
        return true;
    }
    bool unselectColumn(int) override { return false; }
    // Rows are only ever added, and a row's cells never change.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}
};

QList<QAccessibleInterface*> ChartCell::columnHeaderCells() const {
    return {ChartAccessible::Cell(chart_, -1, column_)};
}

QList<QAccessibleInterface*> ChartCell::rowHeaderCells() const {
    return {ChartAccessible::Cell(chart_, row_, -1)};
}

namespace {

QAccessibleInterface* ChartAccessibility(const QString&, QObject* object) {
    auto* chart = qobject_cast<TrendChart*>(object);
    return chart != nullptr ? new ChartAccessible(chart) : nullptr;
}

}  // namespace

void CopyTable(const SessionStats& stats, qint64 first, qint64 last) {
    QBuffer table;
    table.open(QIODevice::WriteOnly);
    stats.writeTable(table, '\t', "\n", first, last);
    QApplication::clipboard()->setText(QString::fromUtf8(table.data()));
}

TrendChart::TrendChart(const SessionStats& stats, ChartView view, QWidget* parent)
    : QAbstractScrollArea(parent), stats_(stats), view_(view), blocks_(Blocks(view)) {
    static const bool accessible = (QAccessible::installFactory(ChartAccessibility), true);
    Q_UNUSED(accessible);
    setFont(SongFont(9));
    layOut();
    viewport()->setBackgroundRole(QPalette::Base);
    // Always there, so that the chart does not jump sideways once it outgrows its window.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMinimumHeight((kHeaderRows + kFooterRows + 5) * row_);
    setAccessibleName(ChartViewTitle(view));
    connect(&stats_, &SessionStats::drawAdded, this, &TrendChart::drawAdded);
    updateScrollBars();
}

TrendChart::~TrendChart() {
    for (QAccessible::Id id : std::as_const(accessibleCells_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

void TrendChart::layOut() {
    const QFontMetrics metrics(font());
    row_ = std::max(20, metrics.height() + 6);
    cell_ = row_;
    label_ = std::max(metrics.horizontalAdvance(u"第0000000次"_s),
                      metrics.horizontalAdvance(u"出现次数"_s)) +
             10;
    columns_.clear();
    int left = label_;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        Block& block = blocks_[b];
        block.left = left;
        const auto count = static_cast<int>(block.names.size());
        if (block.first < 0) {
            block.cellWidth = metrics.horizontalAdvance(block.title) + 14;
        } else {
            block.cellWidth =
                std::max(cell_, (metrics.horizontalAdvance(block.title) + 8 + count - 1) / count);
            for (const QString& name : std::as_const(block.names)) {
                block.cellWidth = std::max(block.cellWidth, metrics.horizontalAdvance(name) + 8);
            }
        }
        for (int i = 0; i < std::max(1, count); ++i) {
            columns_.push_back(
                {static_cast<int>(b), i, left + i * block.cellWidth, block.cellWidth});
        }
        left += block.width();
    }
}

QSize TrendChart::sizeHint() const {
    const int frame = 2 * frameWidth();
    return {contentWidth() + frame + verticalScrollBar()->sizeHint().width(),
            (kHeaderRows + 24 + kFooterRows) * row_ + frame};
}

qint64 TrendChart::rowCount() const {
    return stats_.size();
}

int TrendChart::contentWidth() const {
    return columns_.back().left + columns_.back().width;
}

int TrendChart::bodyHeight() const {
    return std::max(0, viewport()->height() - (kHeaderRows + kFooterRows) * row_);
}

int TrendChart::marked(const Column& column) const {
    const Block& block = blocks_[static_cast<std::size_t>(column.block)];
    return block.first < 0 ? -1 : block.first + column.index;
}

QString TrendChart::columnName(int column) const {
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const Block& block = blocks_[static_cast<std::size_t>(c.block)];
    return block.first < 0 ? block.title : block.title + u' ' + block.names[c.index];
}

QString TrendChart::columnTotals(int column) const {
    const int m = marked(columns_[static_cast<std::size_t>(column)]);
    if (m < 0) {
        return {};
    }
    return u"出现次数 %1，最大遗漏 %2，最大连出 %3"_s.arg(stats_.occurrences(m))
        .arg(stats_.longestOmission(m))
        .arg(stats_.longestRun(m));
}

QString TrendChart::cellText(qint64 row, int column) const {
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const Draw draw = stats_.draw(row);
    const int m = marked(c);
    if (m < 0) {
        return TextOf(blocks_[static_cast<std::size_t>(c.block)].text, draw);
    }
    const qint64 omission = stats_.omissionsAt(row)[static_cast<std::size_t>(m)];
    return omission == 0 ? MarkText(blocks_[static_cast<std::size_t>(c.block)], c.index, draw)
                         : u"遗漏 "_s + QString::number(omission);
}

QRect TrendChart::cellRect(qint64 row, int column) const {
    const int left = column < 0 ? 0 : columns_[static_cast<std::size_t>(column)].left;
    const int width = column < 0 ? label_ : columns_[static_cast<std::size_t>(column)].width;
    const int top =
        row < 0 ? 0
                : static_cast<int>(kHeaderRows * row_ + row * row_ - verticalScrollBar()->value());
    return {left - horizontalScrollBar()->value(), top, width, row < 0 ? kHeaderRows * row_ : row_};
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
    const qint64 count = stats_.size();
    const Draw d = stats_.draw(count - 1);
    // A screen reader cannot see the newest row come in: it hears it.
    setAccessibleDescription(u"最新：第%1次 %2 %3 %4，和值 %5，跨度 %6，%7"_s.arg(count)
                                 .arg(d.digits[0])
                                 .arg(d.digits[1])
                                 .arg(d.digits[2])
                                 .arg(d.sum())
                                 .arg(d.span())
                                 .arg(d.shapeName()));
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this,
                                               QAccessibleTableModelChangeEvent::RowsInserted);
        event.setFirstRow(static_cast<int>(count - 1));
        event.setLastRow(static_cast<int>(count - 1));
        QAccessible::updateAccessibility(&event);
    }
    // Between two events no reader holds a cell, so they can go.
    if (accessibleCells_.size() > kMostAccessibleCells) {
        for (QAccessible::Id id : std::as_const(accessibleCells_)) {
            QAccessible::deleteAccessibleInterface(id);
        }
        accessibleCells_.clear();
    }
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

void TrendChart::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        for (auto& cache : texts_) {
            cache.clear();
        }
        layOut();
        updateScrollBars();
        viewport()->update();
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

void TrendChart::setFocusCell(qint64 row, int column, bool extendSelection) {
    if (rowCount() == 0) {
        return;
    }
    row = std::clamp<qint64>(row, 0, rowCount() - 1);
    column = std::clamp(column, 0, columnCount() - 1);
    if (!extendSelection) {
        firstSelected_ = 0;
        lastSelected_ = -1;
    } else {
        if (lastSelected_ < firstSelected_) {
            anchor_ = focusRow_ < 0 ? row : focusRow_;
        }
        firstSelected_ = std::min(anchor_, row);
        lastSelected_ = std::max(anchor_, row);
    }
    focusRow_ = row;
    focusColumn_ = column;
    ensureVisible(row, column);
    viewport()->update();
    announceFocus();
}

void TrendChart::selectRows(qint64 first, qint64 last) {
    firstSelected_ = std::max<qint64>(0, first);
    lastSelected_ = std::min(last, rowCount() - 1);
    anchor_ = firstSelected_;
    viewport()->update();
}

void TrendChart::copy() const {
    if (lastSelected_ >= firstSelected_) {
        CopyTable(stats_, firstSelected_, lastSelected_);
    } else if (focusRow_ >= 0) {
        CopyTable(stats_, focusRow_, focusRow_);
    }
}

void TrendChart::ensureVisible(qint64 row, int column) {
    QScrollBar* bar = verticalScrollBar();
    const qint64 top = row * row_;
    if (top < bar->value()) {
        bar->setValue(static_cast<int>(top));
    } else if (top + row_ > bar->value() + bodyHeight()) {
        bar->setValue(static_cast<int>(top + row_ - bodyHeight()));
    }
    const Column& c = columns_[static_cast<std::size_t>(column)];
    QScrollBar* across = horizontalScrollBar();
    if (c.left - label_ < across->value()) {
        across->setValue(column == 0 ? 0 : c.left - label_);
    } else if (c.left + c.width > across->value() + viewport()->width()) {
        across->setValue(c.left + c.width - viewport()->width());
    }
}

void TrendChart::announceFocus() {
    if (focusRow_ < 0 || !hasFocus()) {
        return;
    }
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(static_cast<int>(focusRow_ * columnCount() + focusColumn_));
    QAccessible::updateAccessibility(&event);
}

void TrendChart::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectRows(0, rowCount() - 1);
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers & Qt::ControlModifier;
    qint64 row = focusRow_ < 0 ? rowCount() - 1 : focusRow_;
    int column = focusColumn_;
    const int page = std::max(1, bodyHeight() / row_);
    switch (event->key()) {
        case Qt::Key_Up:
            --row;
            break;
        case Qt::Key_Down:
            ++row;
            break;
        case Qt::Key_Left:
            --column;
            break;
        case Qt::Key_Right:
            ++column;
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (control) {  // the tabs' keys
                QAbstractScrollArea::keyPressEvent(event);
                return;
            }
            row += event->key() == Qt::Key_PageUp ? -page : page;
            break;
        case Qt::Key_Home:
            column = 0;
            row = control ? 0 : row;
            break;
        case Qt::Key_End:
            column = columnCount() - 1;
            row = control ? rowCount() - 1 : row;
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    setFocusCell(row, column, modifiers & Qt::ShiftModifier);
}

void TrendChart::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    for (int column = 0; column < columnCount(); ++column) {
        const QRect top = cellRect(0, column);
        if (event->button() == Qt::LeftButton && at.x() >= top.left() && at.x() <= top.right() &&
            at.y() >= kHeaderRows * row_ && at.y() < kHeaderRows * row_ + bodyHeight()) {
            const qint64 row = (at.y() - top.top()) / row_;
            if (row < rowCount()) {
                setFocus(Qt::MouseFocusReason);
                setFocusCell(row, column, event->modifiers() & Qt::ShiftModifier);
            }
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void TrendChart::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    if (focusRow_ < 0 && rowCount() > 0) {
        focusRow_ = rowCount() - 1;  // the newest draw, in view while the chart follows
    }
    viewport()->update();
    announceFocus();
}

void TrendChart::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TrendChart::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.translate(-horizontalScrollBar()->value(), 0);
    const int scroll = verticalScrollBar()->value();
    paintChart(painter, scroll, bodyHeight());
    // The selected rows and the focus cell, over the rows in view only.
    painter.setClipRect(QRect(0, kHeaderRows * row_, contentWidth(), bodyHeight()));
    painter.translate(horizontalScrollBar()->value(), 0);
    const qint64 first = std::max<qint64>(firstSelected_, scroll / row_);
    const qint64 last = std::min<qint64>(lastSelected_, (scroll + bodyHeight()) / row_);
    QColor selected = palette().color(QPalette::Highlight);
    selected.setAlpha(60);
    for (qint64 row = first; row <= last; ++row) {
        const QRect cell = cellRect(row, -1);
        painter.fillRect(QRect(cell.left(), cell.top(), contentWidth(), row_), selected);
    }
    if (hasFocus() && focusRow_ >= 0) {
        painter.setPen(QPen(kInk, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(cellRect(focusRow_, focusColumn_)).adjusted(1, 1, -1, -1));
    }
}

void TrendChart::paintChart(QPainter& painter, qint64 scroll, int body) const {
    const int width = contentWidth();
    const int top = kHeaderRows * row_;
    const int bottom = top + body;
    const qint64 count = stats_.size();
    const qint64 first = scroll / row_;
    const qint64 last = std::min(count - 1, (scroll + body - 1) / row_);
    const auto rowTop = [&](qint64 row) { return top + static_cast<int>(row * row_ - scroll); };
    const auto cell = [&](const Block& block, int index, qint64 row) {
        return QRectF(block.left + index * block.cellWidth, rowTop(row), block.cellWidth, row_);
    };
    // The marks of a draw in this view, by block and column.
    const auto forEachMark = [this](const Draw& draw, const auto& use) {
        for (int m : draw.marks()) {
            for (const Block& block : blocks_) {
                if (block.first >= 0 && m >= block.first && m < block.first + block.names.size()) {
                    use(block, m - block.first);
                }
            }
        }
    };
    // A painter on a picture starts with the application's font, not the chart's.
    painter.setFont(font());
    QFont bold = font();
    bold.setBold(true);

    // The rows in view, between the header and the footer.
    painter.save();
    painter.setClipRect(QRect(0, top, width, bottom - top));
    for (const Block& block : blocks_) {
        if (block.first >= 0) {
            painter.fillRect(QRect(block.left, top, block.width(), bottom - top), block.tint);
        }
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
            drawFitted(painter, QRect(0, y, label_, row_), RowName(row));
            for (const Column& column : columns_) {
                const QRect at(column.left, y, column.width, row_);
                const int m = marked(column);
                const Block& block = blocks_[static_cast<std::size_t>(column.block)];
                if (m < 0) {
                    painter.setPen(block.text == Text::Shape ? ShapeColour(draw.shape()) : kInk);
                    drawFitted(painter, at, TextOf(block.text, draw));
                } else if (const qint64 omission = omissions[static_cast<std::size_t>(m)]) {
                    painter.setPen(kOmission);
                    drawFitted(painter, at, QString::number(omission));
                }
            }
        }
        // Each line runs on from the rows just out of view, then the marks go on top.
        painter.setRenderHint(QPainter::Antialiasing);
        const qint64 from = std::max<qint64>(0, first - 1);
        const qint64 to = std::min(count - 1, last + 1);
        for (const Block& joined : blocks_) {
            if (!joined.joined) {
                continue;
            }
            QPolygonF line;
            for (qint64 row = from; row <= to; ++row) {
                forEachMark(stats_.draw(row), [&](const Block& block, int index) {
                    if (&block == &joined) {
                        line << cell(block, index, row).center();
                    }
                });
            }
            painter.setPen(QPen(joined.colour, 1.5));
            painter.drawPolyline(line);
        }
        painter.setFont(bold);
        for (qint64 row = first; row <= last; ++row) {
            const Draw draw = stats_.draw(row);
            forEachMark(draw, [&](const Block& block, int index) {
                const QRectF at = cell(block, index, row);
                QRectF mark = at.adjusted(1.5, 2.5, -1.5, -2.5);
                painter.setPen(Qt::NoPen);
                painter.setBrush(MarkColour(block, index, draw));
                if (block.discs) {
                    const qreal radius = (std::min<qreal>(at.width(), row_) - 3) / 2;
                    mark = QRectF(at.center().x() - radius, at.center().y() - radius, 2 * radius,
                                  2 * radius);
                    painter.drawEllipse(mark);
                } else {
                    painter.fillRect(mark, painter.brush());
                }
                painter.setPen(Qt::white);
                drawFitted(painter, mark, MarkText(block, index, draw), true);
            });
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
    const std::array<QString, kFooterRows> footer{u"出现次数"_s, u"最大遗漏"_s, u"最大连出"_s};
    for (int f = 0; f < kFooterRows; ++f) {
        painter.drawText(QRect(0, bottom + f * row_, label_, row_), Qt::AlignCenter, footer[f]);
    }
    for (const Block& block : blocks_) {
        painter.drawText(QRect(block.left, 0, block.width(), block.first < 0 ? top : row_),
                         Qt::AlignCenter, block.title);
    }
    for (const Column& column : columns_) {
        const int m = marked(column);
        if (m < 0) {
            continue;
        }
        drawFitted(painter, QRect(column.left, row_, column.width, row_),
                   blocks_[static_cast<std::size_t>(column.block)].names[column.index]);
        const std::array<qint64, kFooterRows> totals{
            stats_.occurrences(m), stats_.longestOmission(m), stats_.longestRun(m)};
        for (int f = 0; f < kFooterRows; ++f) {
            drawFitted(painter, QRect(column.left, bottom + f * row_, column.width, row_),
                       QString::number(totals[f]));
        }
    }
    // Grid of the header and footer, and the lines between the blocks from top to bottom.
    painter.setPen(kGrid);
    for (int y : {top - 1, bottom, bottom + row_, bottom + 2 * row_}) {
        painter.drawLine(0, y, width, y);
    }
    for (const Block& block : blocks_) {
        if (block.first >= 0) {
            painter.drawLine(block.left, row_, block.left + block.width(), row_);
        }
    }
    for (const Column& column : columns_) {
        if (column.index > 0) {
            painter.drawLine(column.left, row_, column.left, top);
            painter.drawLine(column.left, bottom, column.left, bottom + kFooterRows * row_);
        }
    }
    painter.setPen(kBlockLine);
    const int end = bottom + kFooterRows * row_;
    for (const Block& block : blocks_) {
        painter.drawLine(block.left, 0, block.left, end);
    }
    painter.drawLine(width - 1, 0, width - 1, end);
    painter.drawLine(0, top - 1, width, top - 1);
    painter.drawLine(0, bottom, width, bottom);
}

QString TrendChart::savePicture(const QString& path, qint64 rows, qreal scale,
                                const QString& caption) const {
    rows = std::clamp<qint64>(rows, 0, std::min(stats_.size(), kMostPictureRows));
    const int width = contentWidth();
    const int chart = static_cast<int>(kHeaderRows + rows + kFooterRows) * row_;
    const QRect text = QFontMetrics(font()).boundingRect(QRect(6, chart + 6, width - 12, 100000),
                                                         Qt::TextWordWrap, caption);
    QImage picture((QSizeF(width, text.bottom() + 7) * scale).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        paintChart(painter, (stats_.size() - rows) * row_, static_cast<int>(rows) * row_);
        painter.setPen(kInk);
        painter.drawText(QRect(6, chart + 6, width - 12, text.height()), Qt::TextWordWrap, caption);
    }
    // Written beside the target and renamed over it once complete, as the record is.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return writer.errorString();
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

TrendChartWindow::TrendChartWindow(const SessionStats& stats, const QList<QAction*>& actions,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window),
      stats_(stats),
      tabs_(new QTabWidget(this)),
      verdict_(new QLabel(this)) {
    setObjectName(u"TrendChart"_s);
    setWindowTitle(u"走势图 (本次摇奖)"_s);
    setFont(SongFont(9));
    for (int view = 0; view < kChartViews; ++view) {
        auto* chart = new TrendChart(stats, static_cast<ChartView>(view));
        tabs_->addTab(chart, chart->accessibleName());
    }
    verdict_->setFont(SongFont(10.5));
    verdict_->setWordWrap(true);
    verdict_->setTextFormat(Qt::PlainText);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QAction* action : actions) {
        auto* button = new QPushButton(action->text(), this);
        button->setAutoDefault(false);
        button->setEnabled(action->isEnabled());
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(verdict_);
    layout->addLayout(buttons);
    const auto update = [this] { verdict_->setText(stats_.verdict()); };
    update();
    connect(&stats_, &SessionStats::drawAdded, verdict_, update);
}

TrendChart& TrendChartWindow::chart() {
    return *static_cast<TrendChart*>(tabs_->currentWidget());
}

void TrendChartWindow::setView(ChartView view) {
    tabs_->setCurrentIndex(static_cast<int>(view));
}

}  // namespace velmora
