// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Times the window's commands on the offscreen platform, each from the menu entry, button press
// or mouse press that calls its event procedure until its picture has been painted, and sets every
// chart beside its floor: the same drawing calls made straight into an image with one painter. Ends
// with a table of medians and the peak resident memory of a whole session.
//   teiler_bench [--quick] [Google Benchmark flags]
#include "charts/column.h"
#include "charts/divisorsumchart.h"
#include "charts/numberline.h"
#include "floordrawing.h"
#include "form1.h"
#include "medianreporter.h"
#include "paintwatcher.h"
#include "surface/fontchoice.h"
#include "surface/multilinetextbox.h"
#include "surface/picturebox.h"
#include "surface/scrollbar.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QThread>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

Form1* window = nullptr;
// The window's controls and menu entries the commands use, found once by their object names.
struct Controls {
    surface::PictureBox* picAusgabe = nullptr;
    surface::PictureBox* picRahmen = nullptr;
    surface::PictureBox* picZeichenblatt = nullptr;
    surface::ScrollBar* HScAusgabe = nullptr;
    surface::MultiLineTextBox* txtTreffer = nullptr;
    QLineEdit* txtIter = nullptr;
    std::array<QLineEdit*, 3> Text1{};
    QPushButton* cmdIter = nullptr;
    QPushButton* cmdSuche = nullptr;
    QAction* cmdSkala = nullptr;
    QAction* cmdSkala2 = nullptr;
    QAction* cmdTeiler = nullptr;
    QAction* cmdHochzerlegbar = nullptr;
    QAction* cmdTeilersumme = nullptr;
    QAction* cmdTeilersumme2 = nullptr;
};
Controls controls;
bench::PaintWatcher* canvasPaints = nullptr;
bench::PaintWatcher* sheetPaints = nullptr;
bench::PaintWatcher* iterPaints = nullptr;
bench::PaintWatcher* hitListPaints = nullptr;
QString hitListText;
std::map<std::string, std::unique_ptr<bench::FloorDrawing>> floors;
std::unique_ptr<QImage> floorImage;
std::vector<std::string> failures;
std::map<std::string, long> floorCheck; // chart -> pixels in which its floor differs
// Per command: the procedure itself, the events it left, the final repaint, in seconds.
std::map<std::string, std::vector<std::array<double, 3>>> parts;

// The window's control or menu entry of that object name; without it the benchmark cannot run.
template <class T> T* named(const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found) {
        std::fprintf(stderr, "teiler_bench: the window has no %s named \"%s\"\n",
                     T::staticMetaObject.className(), qPrintable(name));
        std::exit(1);
    }
    return found;
}

void findControls() {
    controls.picAusgabe = named<surface::PictureBox>(QStringLiteral("picAusgabe"));
    controls.picRahmen = named<surface::PictureBox>(QStringLiteral("picRahmen"));
    controls.picZeichenblatt = named<surface::PictureBox>(QStringLiteral("picZeichenblatt"));
    controls.HScAusgabe = named<surface::ScrollBar>(QStringLiteral("HScAusgabe"));
    controls.txtTreffer = named<surface::MultiLineTextBox>(QStringLiteral("txtTreffer"));
    controls.txtIter = named<QLineEdit>(QStringLiteral("txtIter"));
    for (std::size_t i = 0; i < controls.Text1.size(); ++i)
        controls.Text1[i] = named<QLineEdit>(QStringLiteral("Text1(%1)").arg(i));
    controls.cmdIter = named<QPushButton>(QStringLiteral("cmdIter"));
    controls.cmdSuche = named<QPushButton>(QStringLiteral("cmdSuche"));
    controls.cmdSkala = named<QAction>(QStringLiteral("cmdSkala"));
    controls.cmdSkala2 = named<QAction>(QStringLiteral("cmdSkala2"));
    controls.cmdTeiler = named<QAction>(QStringLiteral("cmdTeiler"));
    controls.cmdHochzerlegbar = named<QAction>(QStringLiteral("cmdHochzerlegbar"));
    controls.cmdTeilersumme = named<QAction>(QStringLiteral("cmdTeilersumme"));
    controls.cmdTeilersumme2 = named<QAction>(QStringLiteral("cmdTeilersumme2"));
}

// A left click on txtIter: its press shows the number on the factorization sheet.
void clickNumber() {
    QLineEdit* box = controls.txtIter;
    const QPointF at = box->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, box->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &release);
}

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Like a user who chooses a command a moment after the last one: pending events are handled and
// every repaint throttle has run out, so nothing left over from before is timed.
void settle() {
    for (int i = 0; i < 2; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

// Runs a command, handles the events it caused and paints the widgets that show its result.
// Ordinary widgets are painted while the events are handled. Picture boxes repaint at most once
// per screen frame; their final repaint is made at once here instead of waiting for the frame,
// and covers the whole visible part of the box.
double timeCommand(const std::string& name, const std::function<void()>& command,
                   const std::vector<bench::PaintWatcher*>& shows) {
    settle();
    std::vector<int> paintsBefore;
    for (const bench::PaintWatcher* watcher : shows)
        paintsBefore.push_back(watcher->paints());
    const auto start = Clock::now();
    command();
    const auto called = Clock::now();
    QCoreApplication::processEvents();
    const auto handled = Clock::now();
    for (const bench::PaintWatcher* watcher : shows)
        if (qobject_cast<surface::PictureBox*>(watcher->widget()))
            watcher->widget()->repaint();
    const double elapsed = seconds(start);
    using Seconds = std::chrono::duration<double>;
    parts[name].push_back({Seconds(called - start).count(), Seconds(handled - called).count(),
                           Seconds(Clock::now() - handled).count()});
    for (std::size_t i = 0; i < shows.size(); ++i)
        if (shows[i]->paints() == paintsBefore[i])
            failures.push_back(name + ": " + shows[i]->widget()->objectName().toStdString() +
                               " was not painted");
    return elapsed;
}

void setNumber(const QString& text) {
    controls.txtIter->setText(text);
}

// Scrolls the canvas so that the column of the given canvas x lies in the middle of the frame.
void scrollToColumn(double x) {
    const double columnPixel = controls.picAusgabe->toPixel(x, 0).x();
    const double hundredth =
        (controls.picRahmen->width() - 2 * controls.picRahmen->borderWidth()) / 100.0;
    const double value =
        std::ceil((columnPixel - controls.picRahmen->width() / 2.0) / hundredth) + 1;
    controls.HScAusgabe->SetValue(static_cast<int>(std::clamp(value, 0.0, 2200.0)));
    QCoreApplication::processEvents();
}

void sweep() {
    for (int v = 0; v <= 2200; ++v) {
        controls.HScAusgabe->SetValue(v);
        QCoreApplication::processEvents();
    }
}

struct Command {
    std::string key;
    std::string label;
    std::function<void()> prepare; // once, before the repetitions
    std::function<void()> before;  // before each repetition, not timed
    std::function<void()> run;
    std::vector<bench::PaintWatcher**> shows; // the widgets that show the result
    bool chart;                               // has a floor; target 30 ms and 1.5 x floor
    double targetMs;                          // 0: none
    bool part = false; // a part of a command, timed to find where its time goes
};

std::vector<Command> commands() {
    auto range2 = [] { controls.cmdSkala2->trigger(); };
    auto noop = [] {};
    return {
        {"cmdSkala",
         "Zahlenstrahl > 1...500",
         noop,
         noop,
         [] { controls.cmdSkala->trigger(); },
         {&canvasPaints},
         true,
         30},
        {"cmdSkala2",
         "Zahlenstrahl > 501...1000",
         noop,
         noop,
         [] { controls.cmdSkala2->trigger(); },
         {&canvasPaints},
         true,
         30},
        {"cmdTeiler",
         "Teiler > Skyline, 501...1000",
         range2,
         noop,
         [] { controls.cmdTeiler->trigger(); },
         {&canvasPaints},
         true,
         30},
        {"cmdHochzerlegbar",
         "Teiler > T(n), 501...1000",
         range2,
         noop,
         [] { controls.cmdHochzerlegbar->trigger(); },
         {&canvasPaints},
         true,
         30},
        {"cmdTeilersumme",
         "Teiler > S(n), 501...1000",
         range2,
         noop,
         [] { controls.cmdTeilersumme->trigger(); },
         {&canvasPaints},
         true,
         30},
        {"cmdTeilersumme2",
         "Teiler > S(n)-n, 501...1000",
         range2,
         noop,
         [] { controls.cmdTeilersumme2->trigger(); },
         {&canvasPaints},
         true,
         30},
        {"cmdSuche",
         "Search 0·S(n) = 0n + 0, 501...1000 (500 hits)",
         [] {
             controls.cmdSkala2->trigger();
             for (QLineEdit* box : controls.Text1)
                 box->setText(QStringLiteral("0"));
         },
         noop,
         [] { controls.cmdSuche->click(); },
         {&canvasPaints},
         true,
         30},
        {"pick840",
         "Pick of 840 (column 340 of 501...1000)",
         [] {
             controls.cmdSkala2->trigger();
             scrollToColumn(340);
         },
         noop,
         // The canvas's press and release on column 340, as the box reports them.
         [] {
             emit controls.picAusgabe->mouseDown(1, 0, 340, -1);
             emit controls.picAusgabe->mouseUp(1, 0, 340, -1);
         },
         {&canvasPaints, &sheetPaints},
         false,
         0},
        {"step999999999999989",
         "S step on 999999999999989",
         noop,
         [] { setNumber(QStringLiteral("999999999999989")); },
         [] { controls.cmdIter->click(); },
         {&iterPaints},
         false,
         1},
        {"step999999999999999",
         "S step on 999999999999999",
         noop,
         [] { setNumber(QStringLiteral("999999999999999")); },
         [] { controls.cmdIter->click(); },
         {&iterPaints},
         false,
         1},
        {"factor2147483647",
         "Factorization of 2147483647",
         noop,
         [] { setNumber(QStringLiteral("2147483647")); },
         clickNumber,
         {&sheetPaints},
         false,
         1},
        {"factor2147483646",
         "Factorization of 2147483646",
         noop,
         [] { setNumber(QStringLiteral("2147483646")); },
         clickNumber,
         {&sheetPaints},
         false,
         1},
        {"sweep",
         "HScAusgabe sweep 0...2200, every value painted",
         noop,
         [] {
             controls.HScAusgabe->SetValue(0);
             QCoreApplication::processEvents();
         },
         sweep,
         {},
         false,
         0},

        // Parts of the commands above.
        {"partGrid",
         "33 grid lines alone (NumberLine::DrawGridLines)",
         noop,
         noop,
         [] { charts::NumberLine::DrawGridLines(*controls.picAusgabe); },
         {&canvasPaints},
         false,
         0,
         true},
        {"partSumNoYield",
         "S(n) chart, 501...1000, without yielding (empty yield)",
         range2,
         noop,
         [] {
             static const int sumMode = 0;
             charts::DivisorSumChart::DrawDivisorSums(*controls.picAusgabe, window->rangeBase(),
                                                      sumMode, {});
         },
         {&canvasPaints},
         false,
         0,
         true},
        {"partYield",
         "500 × QCoreApplication::processEvents(), the yields alone",
         noop,
         noop,
         [] {
             for (int i = 0; i < charts::Column::count; ++i)
                 QCoreApplication::processEvents();
         },
         {},
         false,
         0,
         true},
        {"partHitList",
         "Hit list with 500 entries: set and paint",
         [] {
             controls.cmdSkala2->trigger();
             for (QLineEdit* box : controls.Text1)
                 box->setText(QStringLiteral("0"));
             controls.cmdSuche->click();
             hitListText = controls.txtTreffer->text();
         },
         [] { controls.txtTreffer->setText(QString()); },
         [] { controls.txtTreffer->setText(hitListText); },
         {&hitListPaints},
         false,
         0,
         true},
    };
}

// Pixels in which two images of the same size differ.
long differingPixels(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    long count = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            count += p[col] != q[col];
    }
    return count;
}

// Records the drawing calls of a chart once and keeps them as its floor. A chart that starts by
// clearing the canvas shows whether its floor draws the same picture: drawn into an empty image
// it must give the canvas's own pixels.
void recordFloor(const Command& c) {
    surface::PictureBox& canvas = *controls.picAusgabe;
    c.prepare();
    canvas.setRecording(true);
    c.run();
    floors[c.key] = std::make_unique<bench::FloorDrawing>(canvas.records(), canvas);
    const bool startsClear =
        !canvas.records().isEmpty() && canvas.records().first().op == QLatin1String("Cls");
    canvas.setRecording(false);
    if (startsClear) {
        QImage check(canvas.image().size(), QImage::Format_RGB32);
        check.setDotsPerMeterX(3780);
        check.setDotsPerMeterY(3780);
        check.fill(Qt::black);
        floors[c.key]->draw(check);
        floorCheck[c.label] = differingPixels(check, canvas.image());
    }
    QCoreApplication::processEvents();
}

struct Settings {
    int chartRuns = 21;
    int quickRuns = 51;
    int startRuns = 11;
    int sweepRuns = 5;
};

void registerBenchmarks(const Settings& settings) {
    static const std::vector<Command> all = commands();
    for (const Command& c : all) {
        const int runs = c.key == "sweep"                ? settings.sweepRuns
                         : c.chart || c.key == "pick840" ? settings.chartRuns
                                                         : settings.quickRuns;
        // A chart's floor is drawn right after each run of the chart, so that both meet the
        // machine in the same state; its median is the counter floor_ms.
        benchmark::RegisterBenchmark(
            c.key.c_str(),
            [&c](benchmark::State& state) {
                // Every command starts with the canvas at its left end, as after start-up.
                controls.HScAusgabe->SetValue(0);
                QCoreApplication::processEvents();
                c.prepare();
                std::vector<bench::PaintWatcher*> shows;
                for (bench::PaintWatcher** w : c.shows)
                    shows.push_back(*w);
                const bench::FloorDrawing* floor = c.chart ? floors.at(c.key).get() : nullptr;
                for (auto _ : state) {
                    c.before();
                    state.SetIterationTime(timeCommand(c.key, c.run, shows));
                    if (floor) {
                        auto start = Clock::now();
                        floor->draw(*floorImage);
                        state.counters["floor_ms"] = seconds(start) * 1000;
                        start = Clock::now();
                        floor->drawWithSetUpPerLabel(*floorImage);
                        state.counters["setup_ms"] = seconds(start) * 1000;
                        start = Clock::now();
                        floor->drawCachedLabels(*floorImage);
                        state.counters["cached_ms"] = seconds(start) * 1000;
                    }
                }
            })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(runs)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("startup",
                                 [](benchmark::State& state) {
                                     for (auto _ : state) {
                                         QProcess child;
                                         const auto start = Clock::now();
                                         child.start(QCoreApplication::applicationFilePath(),
                                                     {QStringLiteral("--startup-child")});
                                         bool painted = false;
                                         while (!painted && child.waitForReadyRead(10000))
                                             painted = child.readAll().contains("painted");
                                         const double elapsed = seconds(start);
                                         if (!painted)
                                             failures.push_back(
                                                 "startup: the child never painted its window");
                                         child.waitForFinished(10000);
                                         state.SetIterationTime(elapsed);
                                     }
                                 })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(settings.startRuns)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
}

// --- Child processes
// ------------------------------------------------------------------------------

// Peak resident memory of this process in kilobytes. VmHWM rather than getrusage's ru_maxrss:
// Linux carries ru_maxrss over from the parent across fork and exec, so a child started from
// this benchmark would report at least the benchmark's own size.
long peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Start-up as the program does it; says "painted" once the window's first picture is complete.
int startupChild(int argc, char** argv) {
    QApplication application(argc, argv);
    auto* form = new Form1;
    window = form;
    bench::PaintWatcher watcher(named<surface::PictureBox>(QStringLiteral("picAusgabe")));
    form->show();
    watcher.waitForPaint(0, 10s);
    std::printf("painted %ld\n", peakResidentKb());
    std::fflush(stdout);
    std::_Exit(0); // tearing down is not part of start-up
}

// A whole session: every command once, then the peak resident memory in kilobytes.
int sessionChild(int argc, char** argv) {
    QApplication application(argc, argv);
    Form1 form;
    window = &form;
    findControls();
    form.show();
    QCoreApplication::processEvents();
    for (const Command& c : commands()) {
        if (c.part)
            continue;
        c.prepare();
        c.before();
        c.run();
        QCoreApplication::processEvents();
    }
    std::printf("peak %ld\n", peakResidentKb());
    std::fflush(stdout);
    window = nullptr;
    return 0;
}

std::optional<double> sessionPeakMb() {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--session-child")});
    if (!child.waitForFinished(120000))
        return std::nullopt;
    const QByteArray out = child.readAllStandardOutput();
    const qsizetype at = out.indexOf("peak ");
    if (at < 0)
        return std::nullopt;
    return out.mid(at + 5).trimmed().toDouble() / 1024.0;
}

// --- The table
// ------------------------------------------------------------------------------------

QString machine() {
    QString cpu = QStringLiteral("unknown processor");
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : info.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                cpu = QString::fromLatin1(line.mid(line.indexOf(':') + 1)).simplified();
                break;
            }
        }
    }
    return QStringLiteral("%1, %2 cores, %3, Qt %4, g++ %5")
        .arg(cpu)
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::prettyProductName(), QString::fromLatin1(qVersion()),
             QStringLiteral(__VERSION__).section(QLatin1Char(' '), 0, 0));
}

QString ms(double v) {
    return v < 1 ? QStringLiteral("%1 ms").arg(v, 0, 'f', 3)
                 : QStringLiteral("%1 ms").arg(v, 0, 'f', 1);
}

void printTable(const bench::MedianReporter& medians, std::optional<double> peakMb, bool quick) {
    std::printf(
        "\nMedian of each command from its event procedure until its picture is painted, on "
        "the offscreen platform with a 1920 x 1080 screen%s.\n",
        quick ? " (quick run, few repetitions)" : "");
    std::printf("Machine: %s.\n\n", qPrintable(machine()));
    std::printf("| Command | Median | Floor | Ratio | Target | Met |\n");
    std::printf("|---|---:|---:|---:|---|---|\n");
    auto row = [](const QString& label, const QString& median, const QString& floor,
                  const QString& ratio, const QString& target, const QString& met) {
        std::printf("| %s | %s | %s | %s | %s | %s |\n", qPrintable(label), qPrintable(median),
                    qPrintable(floor), qPrintable(ratio), qPrintable(target), qPrintable(met));
    };
    const auto startup = medians.medianMs("startup");
    row(QStringLiteral("Start-up to the first painted window"),
        startup ? ms(*startup) : QStringLiteral("–"), {}, {}, QStringLiteral("< 300 ms"),
        startup ? (*startup < 300 ? QStringLiteral("yes") : QStringLiteral("no")) : QString());
    for (const Command& c : commands()) {
        if (c.part)
            continue;
        const auto median = medians.medianMs(c.key);
        if (!median) {
            row(QString::fromStdString(c.label), QStringLiteral("–"), {}, {}, {}, {});
            continue;
        }
        QString floorText, ratioText, target, met;
        bool ok = c.targetMs <= 0 || *median < c.targetMs;
        if (c.targetMs > 0)
            target = QStringLiteral("< %1 ms").arg(c.targetMs);
        if (c.chart) {
            target += QStringLiteral(", ≤ 1.5 × floor");
            if (const auto floor = medians.medianMs("floor_ms/" + c.key)) {
                const double ratio = *median / *floor;
                floorText = ms(*floor);
                ratioText = QStringLiteral("%1").arg(ratio, 0, 'f', 2);
                ok = ok && ratio <= 1.5;
            }
        }
        if (c.key == "sweep")
            ratioText = QStringLiteral("%1 ms per value").arg(*median / 2201, 0, 'f', 3);
        if (!target.isEmpty())
            met = ok ? QStringLiteral("yes") : QStringLiteral("no");
        row(QString::fromStdString(c.label), ms(*median), floorText, ratioText, target, met);
    }
    row(QStringLiteral("Peak resident memory of a whole session"),
        peakMb ? QStringLiteral("%1 MB").arg(*peakMb, 0, 'f', 1) : QStringLiteral("–"), {}, {},
        QStringLiteral("< 120 MB"),
        peakMb ? (*peakMb < 120 ? QStringLiteral("yes") : QStringLiteral("no")) : QString());

    for (const auto& [label, pixels] : floorCheck)
        std::printf("\nThe floor of %s, drawn into an empty image, differs from the canvas's own "
                    "picture in %ld of its %lld pixels.",
                    label.c_str(), pixels,
                    static_cast<long long>(floorImage->width()) * floorImage->height());
    std::printf("\n");
    std::printf("\nParts of the commands (medians), to see where their time goes.\n\n");
    std::printf("| Part | Median |\n|---|---:|\n");
    for (const Command& c : commands()) {
        if (c.part) {
            if (const auto median = medians.medianMs(c.key))
                std::printf("| %s | %s |\n", c.label.c_str(), qPrintable(ms(*median)));
        } else if (c.chart) {
            if (const auto setUp = medians.medianMs("setup_ms/" + c.key))
                std::printf("| Floor of %s, font and pen set again before every label | %s |\n",
                            c.label.c_str(), qPrintable(ms(*setUp)));
            if (const auto cached = medians.medianMs("cached_ms/" + c.key))
                std::printf("| Floor of %s with every label laid out once (QStaticText) | %s |\n",
                            c.label.c_str(), qPrintable(ms(*cached)));
        }
    }

    std::printf("\nWhere the time goes (medians): the event procedure, the events it left "
                "behind, the final repaint of the widgets that show the result.\n\n");
    std::printf("| Command | Procedure | Events | Final repaint |\n|---|---:|---:|---:|\n");
    for (const Command& c : commands()) {
        const auto found = parts.find(c.key);
        if (found == parts.end() || c.key == "sweep")
            continue;
        std::array<double, 3> median{};
        for (std::size_t k = 0; k < 3; ++k) {
            std::vector<double> values;
            for (const auto& sample : found->second)
                values.push_back(sample[k]);
            std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
            median[k] = values[values.size() / 2] * 1000;
        }
        std::printf("| %s | %s | %s | %s |\n", c.label.c_str(), qPrintable(ms(median[0])),
                    qPrintable(ms(median[1])), qPrintable(ms(median[2])));
    }
    std::printf("\nPeak resident memory of this benchmark process: %.1f MB.\n",
                peakResidentKb() / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TEILER_BENCH_SCREEN);
    qputenv("LC_ALL", "C.UTF-8");
    // The fonts are chosen before Qt lists them, as in the program; the children do it too.
    surface::FontChoice::PreferLiberation2();
    if (argc > 1 && std::strcmp(argv[1], "--startup-child") == 0)
        return startupChild(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--session-child") == 0)
        return sessionChild(argc, argv);

    Settings settings;
    bool quick = false;
    static char noColour[] = "--benchmark_color=false";
    std::vector<char*> args;
    bool colourChosen = false;
    for (int i = 0; i < argc; ++i) {
        colourChosen = colourChosen || std::strncmp(argv[i], "--benchmark_color", 17) == 0;
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else
            args.push_back(argv[i]);
    }
    if (!colourChosen)
        args.push_back(noColour);
    if (quick)
        settings = Settings{5, 11, 3, 1};
    int benchArgc = static_cast<int>(args.size());
    benchmark::Initialize(&benchArgc, args.data());
    if (benchmark::ReportUnrecognizedArguments(benchArgc, args.data()))
        return 2;

    QApplication application(argc, argv);
    Form1 form;
    window = &form;
    findControls();
    form.show();
    QCoreApplication::processEvents();
    canvasPaints = new bench::PaintWatcher(controls.picAusgabe);
    sheetPaints = new bench::PaintWatcher(controls.picZeichenblatt);
    iterPaints = new bench::PaintWatcher(controls.txtIter);
    hitListPaints = new bench::PaintWatcher(controls.txtTreffer->viewport());

    floorImage =
        std::make_unique<QImage>(controls.picAusgabe->image().size(), QImage::Format_RGB32);
    floorImage->setDotsPerMeterX(3780);
    floorImage->setDotsPerMeterY(3780);
    for (const Command& c : commands())
        if (c.chart)
            recordFloor(c);

    registerBenchmarks(settings);
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto peak = sessionPeakMb();
    printTable(reporter, peak, quick);
    for (const std::string& failure : failures)
        std::fprintf(stderr, "teiler_bench: %s\n", failure.c_str());
    window = nullptr;
    return failures.empty() && peak ? 0 : 1;
}
