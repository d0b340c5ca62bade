// Log append at full size: DrawLog::AppendDrawRecord plus MoveCaretToEnd on a shown window whose
// log holds a given number of characters; the log is cut back to that length (untimed) before
// every sample.
// Usage: velmora-bench-append [samples]
#include "benchutil.h"
#include "draw/drawmachine.h"
#include "draw/logbox.h"
#include "draw/val.h"
#include "draw/virtualclock.h"
#include "window/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace velmora::bench;
using namespace Qt::StringLiterals;

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int samples = argc > 1 ? std::atoi(argv[1]) : 300;

    velmora::VirtualClock clock;
    ScriptedDigits digits([](std::uint64_t i) { return static_cast<int>(i % 10); });
    SilentMessages messages;
    NoBrowser browser;
    velmora::Form1 form(velmora::Form1Services{clock, digits, messages, browser, false});
    form.Load();
    form.show();
    Settle();

    // One real draw, so the slots hold three digits.
    form.Command1->click();
    clock.advance(9100);
    velmora::DrawLog& log = form.log();
    QTextDocument* document = form.Text4->document();

    // The log is built as draws build it, one record after another with growing counters.
    const qsizetype sizes[] = {0, velmora::DrawLog::kLimit / 2, velmora::DrawLog::kLimit};
    int counter = 0;
    for (const qsizetype size : sizes) {
        while (log.length() < size) {
            form.Label4->setText(velmora::DigitText(++counter));
            log.AppendDrawRecord();
            if (counter % 100 == 0) {
                Settle();
            }
        }
        log.MoveCaretToEnd();
        Settle();
        const qsizetype length = log.length();
        // Everything after this document position is what one sample added.
        const int documentEnd = document->characterCount() - 1;
        std::vector<double> append;
        std::vector<double> withFrame;
        for (int i = 0; i < samples; ++i) {
            const std::int64_t start = MonotonicNs();
            log.AppendDrawRecord();
            log.MoveCaretToEnd();
            const std::int64_t appended = MonotonicNs();
            QApplication::processEvents();  // the repaint the append asked for
            const std::int64_t painted = MonotonicNs();
            append.push_back(Ms(appended - start));
            withFrame.push_back(Ms(painted - start));

            QTextCursor added(document);
            added.setPosition(documentEnd);
            added.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            added.removeSelectedText();
            log.MoveCaretToEnd();
            Settle();
            if (log.length() != length) {
                std::fprintf(stderr, "log is %lld characters, not %lld\n",
                             static_cast<long long>(log.length()), static_cast<long long>(length));
                return EXIT_FAILURE;
            }
        }
        const double median = Median(append);
        const bool fullSize = size == velmora::DrawLog::kLimit;
        Row("log append + caret to end, log of " + std::to_string(length) + " chars",
            Fixed(median, 3) + " ms (p99 " + Fixed(Percentile(append, 99), 3) + ")",
            fullSize ? "< 0.5 ms" : "-", fullSize ? (median < 0.5 ? "met" : "missed") : "-");
        Row("  same, plus the repaint it causes", Fixed(Median(withFrame), 3) + " ms", "-", "-");
    }
    std::printf("(median of %d appends per size, window shown on %s)\n", samples,
                qPrintable(QGuiApplication::platformName()));
    return EXIT_SUCCESS;
}
