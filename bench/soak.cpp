// Virtual-clock soak: an automatic search whose draws never match, run for a number of draws on
// the virtual clock. Every record is checked as it is written; trims, memory and wall time are
// reported. Usage: velmora-bench-soak [draws] [--shown]
#include "benchutil.h"
#include "draw/drawmachine.h"
#include "draw/logbox.h"
#include "draw/val.h"
#include "draw/virtualclock.h"
#include "window/form1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace velmora::bench;
using namespace Qt::StringLiterals;

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    std::int64_t draws = 1'000'000;
    bool shown = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--shown") == 0) {
            shown = true;
        } else {
            draws = std::atoll(argv[i]);
        }
    }

    velmora::VirtualClock clock;
    // Digits 0-8 only: the target 9 9 9 is never met.
    ScriptedDigits digits([](std::uint64_t i) { return static_cast<int>((i * 7 + i / 9) % 9); });
    SilentMessages messages;
    NoBrowser browser;
    velmora::Form1 form(velmora::Form1Services{clock, digits, messages, browser, false});
    form.Load();
    if (shown) {
        form.show();
    }
    QApplication::processEvents();
    velmora::DrawLog& log = form.log();
    QTextDocument* document = form.Text4->document();

    form.Text5->setText(u"9"_s);
    form.Text6->setText(u"9"_s);
    form.Text7->setText(u"9"_s);
    const qint64 t0 = clock.now();
    form.Command11->click();

    std::int64_t records = 0;
    std::int64_t bad = 0;
    std::int64_t trims = 0;
    long rssAfterFirstTrim = -1;
    long maxRssAfterFirstTrim = -1;
    // Heap bytes in use (not merely held by the allocator) at the first and the last trim.
    double heapAfterFirstTrim = 0;
    double heapAtLastTrim = 0;
    std::int64_t checkNs = 0;
    qsizetype previous = 0;
    const std::int64_t start = MonotonicNs();
    for (std::int64_t draw = 1; draw <= draws; ++draw) {
        // Supervisor tick at 10 s, digits at +3, +6, +9 s, reel 3 stops within 50 ms after that.
        clock.advanceTo(t0 + draw * 10000 + 9500);
        // Between ticks the program's event loop delivers what the draw posted (queued scroll
        // bar updates of the log among them); without it those events would pile up.
        QApplication::processEvents();
        const std::int64_t checkStart = MonotonicNs();
        const qsizetype length = log.length();
        qsizetype from = previous;
        if (previous > velmora::DrawLog::kLimit) {
            ++trims;
            from = 0;
            const long rss = StatusKb("VmRSS");
            heapAtLastTrim = static_cast<double>(mallinfo2().uordblks) / (1024 * 1024);
            if (std::getenv("VELMORA_SOAK_TRACE")) {
                std::fprintf(stderr, "trim %lld at draw %lld: RSS %ld kB, heap in use %.1f MiB\n",
                             static_cast<long long>(trims), static_cast<long long>(draw), rss,
                             heapAtLastTrim);
            }
            if (trims == 1) {
                heapAfterFirstTrim = heapAtLastTrim;
                rssAfterFirstTrim = rss;
            } else {
                maxRssAfterFirstTrim = std::max(maxRssAfterFirstTrim, rss);
            }
        }
        // The new record is the last length - from characters of the document, whichever way
        // the box splits its text into paragraphs.
        QTextCursor cursor(document);
        cursor.movePosition(QTextCursor::End);
        cursor.setPosition(cursor.position() - static_cast<int>(length - from),
                           QTextCursor::KeepAnchor);
        const QString record = cursor.selectedText();
        const QRegularExpressionMatch match =
            RecordPattern().match(record, 0, QRegularExpression::NormalMatch,
                                  QRegularExpression::AnchorAtOffsetMatchOption);
        const bool good = match.hasMatch() && match.capturedLength() == record.size() &&
                          match.captured(1).toLongLong() == draw &&
                          form.Label4->text() == velmora::DigitText(static_cast<double>(draw));
        if (good) {
            ++records;
        } else if (++bad <= 5) {
            std::fprintf(stderr, "draw %lld: bad record \"%s\" (counter %s)\n",
                         static_cast<long long>(draw), qPrintable(record),
                         qPrintable(form.Label4->text()));
        }
        previous = length;
        checkNs += MonotonicNs() - checkStart;
    }
    const double wall = Ms(MonotonicNs() - start) / 1000;
    const double checks = Ms(checkNs) / 1000;
    const long hwm = StatusKb("VmHWM");
    const bool counterOk = form.Label4->text() == velmora::DigitText(static_cast<double>(draws));

    const std::string n = std::to_string(draws);
    const double perMillion = (wall - checks) / static_cast<double>(draws) * 1e6;
    Row("soak: " + n + " automatic draws on the virtual clock" + (shown ? " (shown)" : " (hidden)"),
        Fixed(wall, 1) + " s wall, of which " + Fixed(checks, 1) + " s record checks; " +
            Fixed(perMillion, 0) + " s per 1e6 draws without checks",
        "< 30 s per 1e6", perMillion < 30 ? "met" : "missed");
    Row("soak: records written / well formed / trims",
        std::to_string(records + bad) + " / " + std::to_string(records) + " / " +
            std::to_string(trims),
        "all well formed", bad == 0 ? "met" : "missed");
    Row("soak: counter == draws", form.Label4->text().toStdString() + " == " + n, "equal",
        counterOk ? "met" : "missed");
    Row("soak: RSS after first trim / max RSS at later trims / peak (VmHWM)",
        Fixed(rssAfterFirstTrim / 1024.0, 1) + " / " + Fixed(maxRssAfterFirstTrim / 1024.0, 1) +
            " / " + Fixed(hwm / 1024.0, 1) + " MiB; heap in use at first / last trim " +
            Fixed(heapAfterFirstTrim, 1) + " / " + Fixed(heapAtLastTrim, 1) + " MiB",
        "flat after first trim",
        maxRssAfterFirstTrim >= 0 && maxRssAfterFirstTrim <= rssAfterFirstTrim + 1024 ? "met"
                                                                                      : "check");
    return bad == 0 && counterOk ? EXIT_SUCCESS : EXIT_FAILURE;
}
