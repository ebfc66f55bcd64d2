// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Times the window's commands on the offscreen platform, each from the menu entry, button press
// or mouse press that calls its event procedure until its picture has been painted. Speed is
// judged by ratios against a reference measured in the same round:
//   - start-up against a bare window (menu bar and a text box of the same size) started by this
//     same binary, the two children taking turns to go first;
//   - every chart and the search against its floor: the work the command cannot avoid beyond
//     drawing (the trial divisions, the yields of the sum charts, the hit list), its drawing calls
//     made straight into an image of the part the frame shows, and the repaint of that part on a
//     plain widget, measured right after the command;
//   - the repaint of the frame with the canvas zoomed to 400% against the same at 100%, the two
//     taking turns to go first.
// Ends with a table, the peak resident memory of a whole session (ending with the canvas at 400%
// scrolled from end to end) at three zooms beside that of the bare window, and exit status 1 when a
// target is missed (never in a quick run) or something could not run at all.
//   teiler_bench [--quick] [Google Benchmark flags]
#include "app/commandline.h"
#include "app/presetcommands.h"
#include "board/presets.h"
#include "charts/column.h"
#include "charts/divisorsumchart.h"
#include "charts/numberline.h"
#include "divisors/divisorscan.h"
#include "floordrawing.h"
#include "form1.h"
#include "interact/canvaszoom.h"
#include "medianreporter.h"
#include "paintwatcher.h"
#include "search/hitlist.h"
#include "surface/fontchoice.h"
#include "surface/multilinetextbox.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"
#include "surface/scrollbar.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScreen>
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
bench::PaintWatcher* framePaints = nullptr;
bench::PaintWatcher* floorViewPaints = nullptr;
std::map<std::string, std::unique_ptr<bench::FloorDrawing>> floors;
// The part of the canvas the frame shows with the canvas at its left end, in pixels of the
// canvas's inside; the floor image covers exactly this part.
QRect shownPart;
std::unique_ptr<QImage> floorImage;
QWidget* floorView = nullptr;
// Things that could not run at all: a widget that was never painted, a child that did not answer.
std::vector<std::string> failures;
struct FloorCheck {
    long differing = 0;
    long long pixels = 0;
};
std::map<std::string, FloorCheck> floorCheck; // chart label -> pixels in which its floor differs
// Per command: the procedure itself, the events it left, the final repaint, in seconds.
std::map<std::string, std::vector<std::array<double, 3>>> parts;
// Values of each round that the table needs beyond medians: ratios, floors and their parts, the
// two start-ups. Keyed "<what>/<command>".
std::map<std::string, std::vector<double>> rounds;
// Values of the sweep at which the canvas was not painted, over all its runs.
int sweepUnpainted = 0;

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

// Every value of the scroll bar in turn. Once the canvas has passed out of the frame, only the
// frame shows; a value counts as painted when the canvas or the frame was.
void sweep() {
    for (int v = 0; v <= 2200; ++v) {
        const int before = canvasPaints->paints() + framePaints->paints();
        controls.HScAusgabe->SetValue(v);
        QCoreApplication::processEvents();
        // The first value is where the sweep starts: nothing moves there.
        if (v > 0 && canvasPaints->paints() + framePaints->paints() == before)
            ++sweepUnpainted;
    }
}

// --- The floors
// ------------------------------------------------------------------------------------

// The arithmetic a command does besides drawing, done here the same way, on the same numbers.
enum class Work {
    None,         // the number line: labels only
    Skyline,      // every proper divisor of each column's number, by trial division
    DivisorCount, // the same, with the record test after every trial
    DivisorSums,  // count and sum of the proper divisors of each column's number
    Search,       // S(n) of each number and the test a * S(n) = b * n + c
};

// The part of the canvas's inside that the frame shows in the window, as the canvas lies in it now.
QRect partShownByFrame() {
    const surface::PictureBox& canvas = *controls.picAusgabe;
    const int b = canvas.borderWidth();
    const QRect inside = canvas.rect().adjusted(b, b, -b, -b);
    return (canvas.visibleRegion().boundingRect() & inside).translated(-b, -b);
}

// Does the trial divisions of `work` for the numbers rangeBase + 1 ... rangeBase + 500; returns
// the hits of a search.
std::vector<long long> arithmetic(Work work, int rangeBase) {
    using charts::Column;
    std::vector<long long> hits;
    long long result = 0;
    switch (work) {
    case Work::None:
        break;
    case Work::Skyline:
        for (int i = 1; i <= Column::count; ++i)
            divisors::ScanProperDivisors(rangeBase + i, [&](long long t, bool isDivisor) {
                if (isDivisor)
                    result += t;
            });
        break;
    case Work::DivisorCount: {
        double record = 1 + 23.0 * rangeBase / Column::count;
        for (int i = 1; i <= Column::count; ++i) {
            int k = 0;
            divisors::ScanProperDivisors(rangeBase + i, [&](long long, bool isDivisor) {
                if (isDivisor)
                    ++k;
                if (k > record) {
                    record = k;
                    ++result;
                }
            });
            result += k;
        }
        break;
    }
    case Work::DivisorSums:
        for (int i = 1; i <= Column::count; ++i) {
            const divisors::DivisorSummary summary =
                divisors::SummarizeProperDivisors(rangeBase + i);
            result += summary.sum + summary.count;
        }
        break;
    case Work::Search: {
        using surface::NumberText;
        const double a = NumberText::lenient(controls.Text1[2]->text());
        const double b = NumberText::lenient(controls.Text1[0]->text());
        const double c = NumberText::lenient(controls.Text1[1]->text());
        const long long first = static_cast<long long>(rangeBase) + 1;
        for (long long n = first; n < first + Column::count; ++n) {
            const double s = static_cast<double>(divisors::SummarizeProperDivisors(n).sum);
            if (a * s == b * static_cast<double>(n) + c)
                hits.push_back(n);
        }
        break;
    }
    }
    benchmark::DoNotOptimize(result);
    return hits;
}

// The least repaint of a command's picture: the floor image, which holds just the part the frame
// shows, put on a plain widget of that size.
class FloorView : public QWidget {
  public:
    explicit FloorView(const QImage& image) : m_image(image) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowFlag(Qt::FramelessWindowHint);
        setObjectName(QStringLiteral("floorView"));
        resize(image.size());
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(QPoint(0, 0), m_image);
    }

  private:
    const QImage& m_image;
};

struct Command {
    std::string key;
    std::string label;
    std::function<void()> prepare; // once, before the repetitions
    std::function<void()> before;  // before each repetition, not timed
    std::function<void()> run;
    std::vector<bench::PaintWatcher**> shows; // the widgets that show the result
    bool chart = false;                       // has a floor: its ratio to the floor is the target
    Work work = Work::None;
    double targetMs = 0; // 0: none
    bool part = false;   // a part of a command, timed to find where its time goes
};

constexpr double chartRatioTarget = 1.5;
constexpr double startupRatioTarget = 1.3;
constexpr double zoomRepaintRatioTarget = 2;
constexpr double sweepTargetMs = 0.98; // per value: two frames' worth of half a millisecond
constexpr double peakTargetZoom1Mb = 55;
constexpr double peakTargetZoom2Mb = 80;
constexpr int sweepValues = 2201;

std::vector<Command> commands() {
    auto range2 = [] { controls.cmdSkala2->trigger(); };
    auto noop = [] {};
    auto searchSetUp = [] {
        controls.cmdSkala2->trigger();
        for (QLineEdit* box : controls.Text1)
            box->setText(QStringLiteral("0"));
    };
    return {
        {"cmdSkala",
         "Zahlenstrahl > 1...500",
         noop,
         noop,
         [] { controls.cmdSkala->trigger(); },
         {&canvasPaints},
         true,
         Work::None},
        {"cmdSkala2",
         "Zahlenstrahl > 501...1000",
         noop,
         noop,
         [] { controls.cmdSkala2->trigger(); },
         {&canvasPaints},
         true,
         Work::None},
        {"cmdTeiler",
         "Teiler > Skyline, 501...1000",
         range2,
         noop,
         [] { controls.cmdTeiler->trigger(); },
         {&canvasPaints},
         true,
         Work::Skyline},
        {"cmdHochzerlegbar",
         "Teiler > T(n), 501...1000",
         range2,
         noop,
         [] { controls.cmdHochzerlegbar->trigger(); },
         {&canvasPaints},
         true,
         Work::DivisorCount},
        {"cmdTeilersumme",
         "Teiler > S(n), 501...1000",
         range2,
         noop,
         [] { controls.cmdTeilersumme->trigger(); },
         {&canvasPaints},
         true,
         Work::DivisorSums},
        {"cmdTeilersumme2",
         "Teiler > S(n)-n, 501...1000",
         range2,
         noop,
         [] { controls.cmdTeilersumme2->trigger(); },
         {&canvasPaints},
         true,
         Work::DivisorSums},
        {"cmdSuche",
         "Search 0·S(n) = 0n + 0, 501...1000 (500 hits)",
         searchSetUp,
         noop,
         [] { controls.cmdSuche->click(); },
         {&canvasPaints, &hitListPaints},
         true,
         Work::Search},
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
         {&canvasPaints, &sheetPaints}},
        {"step999999999999989",
         "S step on 999999999999989",
         noop,
         [] { setNumber(QStringLiteral("999999999999989")); },
         [] { controls.cmdIter->click(); },
         {&iterPaints},
         false,
         Work::None,
         1},
        {"step999999999999999",
         "S step on 999999999999999",
         noop,
         [] { setNumber(QStringLiteral("999999999999999")); },
         [] { controls.cmdIter->click(); },
         {&iterPaints},
         false,
         Work::None,
         1},
        {"factor2147483647",
         "Factorization of 2147483647",
         noop,
         [] { setNumber(QStringLiteral("2147483647")); },
         clickNumber,
         {&sheetPaints},
         false,
         Work::None,
         1},
        {"factor2147483646",
         "Factorization of 2147483646",
         noop,
         [] { setNumber(QStringLiteral("2147483646")); },
         clickNumber,
         {&sheetPaints},
         false,
         Work::None,
         1},
        {"sweep",
         "HScAusgabe sweep 0...2200, every value painted",
         noop,
         [] {
             controls.HScAusgabe->SetValue(0);
             QCoreApplication::processEvents();
         },
         sweep,
         {}},

        // Parts of the commands above.
        {"partGrid",
         "33 grid lines alone (NumberLine::DrawGridLines)",
         noop,
         noop,
         [] { charts::NumberLine::DrawGridLines(*controls.picAusgabe); },
         {&canvasPaints},
         false,
         Work::None,
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
         Work::None,
         0,
         true},
    };
}

// The parts of a floor in the order they are done, as named in the table.
constexpr std::array<const char*, 5> floorParts = {"arithmetic", "yields", "drawing", "hit list",
                                                   "repaint"};

// The floor of a chart or the search, right after the command: what it must do beyond drawing,
// its drawing calls into the floor image and the repaint of that image. Returns seconds.
double timeFloor(const Command& c, const bench::FloorDrawing& floor) {
    settle();
    const int rangeBase = window->rangeBase();
    std::array<double, floorParts.size()> spent{};

    auto start = Clock::now();
    const std::vector<long long> hits = arithmetic(c.work, rangeBase);
    spent[0] = seconds(start);

    if (c.work == Work::DivisorSums) {
        // The sum charts let the window handle its events before every column.
        start = Clock::now();
        for (int i = 0; i < charts::Column::count; ++i)
            QCoreApplication::processEvents();
        spent[1] = seconds(start);
    }

    start = Clock::now();
    floor.draw(*floorImage, shownPart.topLeft());
    spent[2] = seconds(start);

    if (c.work == Work::Search) {
        const int paintsBefore = hitListPaints->paints();
        start = Clock::now();
        QString list = search::HitList::header(rangeBase, controls.Text1[0]->text(),
                                               controls.Text1[1]->text());
        for (const long long n : hits)
            list += search::HitList::entry(n);
        controls.txtTreffer->setText(list);
        QCoreApplication::processEvents();
        spent[3] = seconds(start);
        if (hitListPaints->paints() == paintsBefore)
            failures.push_back(c.key + ": the hit list of its floor was not painted");
    }

    const int paintsBefore = floorViewPaints->paints();
    start = Clock::now();
    floorView->repaint();
    spent[4] = seconds(start);
    if (floorViewPaints->paints() == paintsBefore)
        failures.push_back(c.key + ": the floor's widget was not painted");

    // The parts a command has no share in stay out of the table.
    const std::array<bool, floorParts.size()> done = {
        c.work != Work::None, c.work == Work::DivisorSums, true, c.work == Work::Search, true};
    double total = 0;
    for (std::size_t k = 0; k < spent.size(); ++k) {
        if (done[k])
            rounds[std::string(floorParts[k]) + "/" + c.key].push_back(spent[k] * 1000);
        total += spent[k];
    }
    rounds["floor/" + c.key].push_back(total * 1000);
    return total;
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

// Records the drawing calls of a chart once and keeps them for its floor. A chart that starts by
// clearing the canvas shows whether its floor draws the same picture: drawn into an empty image
// of the whole canvas it must give the canvas's own pixels.
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
        const QImage picture = canvas.image();
        QImage check(picture.size(), QImage::Format_RGB32);
        check.setDotsPerMeterX(3780);
        check.setDotsPerMeterY(3780);
        check.fill(Qt::black);
        floors[c.key]->draw(check);
        floorCheck[c.label] = {differingPixels(check, picture),
                               static_cast<long long>(check.width()) * check.height()};
    }
    QCoreApplication::processEvents();
}

struct Settings {
    int chartRuns = 21;
    int quickRuns = 51;
    int startRuns = 11;
    int sweepRuns = 5;
};

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

// Start-up as the program does it; says "painted <peak kB>" once the window's first picture is
// complete.
int startupChild(int argc, char** argv) {
    const board::Presets presets = board::Presets::Read();
    QApplication application(argc, argv);
    auto* form = new Form1;
    new app::PresetCommands(*form, presets);
    window = form;
    bench::PaintWatcher watcher(named<surface::PictureBox>(QStringLiteral("picAusgabe")));
    form->show();
    watcher.waitForPaint(0, 10s);
    std::printf("painted %ld\n", peakResidentKb());
    std::fflush(stdout);
    std::_Exit(0); // tearing down is not part of start-up
}

// The least a window like the program's costs to start: a main window of the given size with a
// menu bar like the program's and a text box filling it. Says "painted <peak kB>" like the
// start-up child.
//   --bare-child <width> <height> [--maximized]
int bareChild(int argc, char** argv) {
    const int width = argc > 2 ? std::atoi(argv[2]) : 800;
    const int height = argc > 3 ? std::atoi(argv[3]) : 600;
    const bool maximized = argc > 4 && std::strcmp(argv[4], "--maximized") == 0;
    QApplication application(argc, argv);
    QMainWindow bare;
    bare.setWindowTitle(QStringLiteral("Teiler"));
    const std::vector<std::pair<QString, QStringList>> menus = {
        {QStringLiteral("Datei"),
         {QStringLiteral("Bildschirm löschen"), QStringLiteral("Bild speichern …"),
          QStringLiteral("Bild kopieren"), QStringLiteral("Drucken …"), QStringLiteral("beenden")}},
        {QStringLiteral("Zahlenstrahl"), {QStringLiteral("1...500"), QStringLiteral("501...1000")}},
        {QStringLiteral("Teiler"),
         {QStringLiteral("Liste als \"Skyline\""), QStringLiteral("Teileranzahl T(n)"),
          QStringLiteral("Teilersumme S(n)"), QStringLiteral("S(n)-n")}},
        {QStringLiteral("Tafel"),
         {QStringLiteral("Stift"), QStringLiteral("Vollbild"), QStringLiteral("Farben")}},
    };
    for (const auto& [title, entries] : menus) {
        QMenu* menu = bare.menuBar()->addMenu(title);
        for (const QString& entry : entries)
            menu->addAction(entry);
    }
    auto* text = new QPlainTextEdit;
    bare.setCentralWidget(text);
    bare.resize(width, height);
    bench::PaintWatcher watcher(text->viewport());
    if (maximized)
        bare.showMaximized();
    else
        bare.show();
    watcher.waitForPaint(0, 10s);
    std::printf("painted %ld\n", peakResidentKb());
    std::fflush(stdout);
    std::_Exit(0);
}

// A whole session: every command once, then the peak resident memory in kilobytes. With
// --maximized the window is shown as "--zoom fit" shows it.
int sessionChild(int argc, char** argv) {
    const bool maximized = argc > 2 && std::strcmp(argv[2], "--maximized") == 0;
    QApplication application(argc, argv);
    Form1 form;
    window = &form;
    findControls();
    canvasPaints = new bench::PaintWatcher(controls.picAusgabe);
    framePaints = new bench::PaintWatcher(controls.picRahmen);
    if (maximized)
        form.showMaximized();
    else
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
    // The canvas at 400%, scrolled from end to end: it keeps no more tiles than the frame shows.
    auto* zoom = form.findChild<interact::CanvasZoom*>(QStringLiteral("canvasZoom"));
    zoom->zoomTo(interact::CanvasZoom::largest, zoom->frameCentre());
    for (int v = 0; v <= controls.HScAusgabe->Max(); v += 100) {
        controls.HScAusgabe->SetValue(v);
        QCoreApplication::processEvents();
    }
    std::printf("peak %ld\n", peakResidentKb());
    std::fflush(stdout);
    window = nullptr;
    return 0;
}

struct ChildRun {
    double seconds = 0;           // from start until it said the marker
    std::optional<double> peakMb; // the number after the marker
};

// Starts this binary as a child with the arguments and, when zoom is set, that QT_SCALE_FACTOR;
// waits until it prints "<marker> <kB>" and until it ends.
ChildRun runChild(const QStringList& arguments, const QByteArray& marker,
                  std::optional<double> zoom = std::nullopt, int limitMs = 20000) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (zoom)
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(*zoom, 'g', 4));
    else
        environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    child.setProcessEnvironment(environment);
    ChildRun result;
    QByteArray out;
    const auto start = Clock::now();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    qsizetype at = -1;
    while (child.waitForReadyRead(limitMs)) {
        out += child.readAllStandardOutput();
        at = out.indexOf(marker + ' ');
        if (at >= 0 && out.indexOf('\n', at) >= 0)
            break;
    }
    result.seconds = seconds(start);
    if (!child.waitForFinished(limitMs))
        child.kill();
    out += child.readAllStandardOutput();
    at = out.indexOf(marker + ' ');
    const qsizetype end = out.indexOf('\n', at);
    if (at >= 0 && end > at) {
        bool ok = false;
        const double kb =
            out.mid(at + marker.size() + 1, end - at - marker.size() - 1).toDouble(&ok);
        if (ok)
            result.peakMb = kb / 1024.0;
    }
    return result;
}

QSize formSize;

// The repaint of the frame with the canvas at zoom, its picture drawn afresh from the drawings, as
// after a chart or a zoom. Returns seconds.
double timeFrameRepaint(double zoom) {
    auto* canvasZoom = window->findChild<interact::CanvasZoom*>(QStringLiteral("canvasZoom"));
    canvasZoom->zoomTo(zoom, canvasZoom->frameCentre());
    settle();
    const int paintsBefore = canvasPaints->paints();
    const auto start = Clock::now();
    controls.picAusgabe->setBackColor(controls.picAusgabe->backColor()); // drops its tiles
    controls.picRahmen->repaint();
    const double elapsed = seconds(start);
    if (canvasPaints->paints() == paintsBefore)
        failures.push_back("zoomRepaint: the canvas was not painted");
    return elapsed;
}

void registerBenchmarks(const Settings& settings) {
    static const std::vector<Command> all = commands();
    for (const Command& c : all) {
        const int runs = c.key == "sweep"                ? settings.sweepRuns
                         : c.chart || c.key == "pick840" ? settings.chartRuns
                                                         : settings.quickRuns;
        // A chart's floor is measured right after each run of the chart, so that both meet the
        // machine in the same state; their ratio is taken round by round.
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
                    const double elapsed = timeCommand(c.key, c.run, shows);
                    state.SetIterationTime(elapsed);
                    if (floor) {
                        const double floorTime = timeFloor(c, *floor);
                        rounds["ratio/" + c.key].push_back(elapsed / floorTime);
                        state.counters["floor_ms"] = floorTime * 1000;
                        state.counters["ratio"] = elapsed / floorTime;
                    }
                }
            })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(runs)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMillisecond);
    }
    // The frame repainted with the canvas at 400% against the same at 100%, with the skyline of
    // 501...1000 at the left end, the two taking turns to go first.
    benchmark::RegisterBenchmark("zoomRepaint",
                                 [](benchmark::State& state) {
                                     static int round = 0;
                                     controls.cmdSkala2->trigger();
                                     controls.cmdTeiler->trigger();
                                     controls.HScAusgabe->SetValue(0);
                                     for (auto _ : state) {
                                         std::array<double, 2> at{}; // at 100%, at 400%
                                         for (const bool zoomed : {round % 2 == 0, round % 2 != 0})
                                             at[zoomed] = timeFrameRepaint(zoomed ? 4 : 1);
                                         ++round;
                                         rounds["plain/zoomRepaint"].push_back(at[0] * 1000);
                                         rounds["zoomed/zoomRepaint"].push_back(at[1] * 1000);
                                         rounds["ratio/zoomRepaint"].push_back(at[1] / at[0]);
                                         state.counters["plain_ms"] = at[0] * 1000;
                                         state.counters["ratio"] = at[1] / at[0];
                                         state.SetIterationTime(at[1]);
                                     }
                                     timeFrameRepaint(1);
                                 })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(settings.chartRuns)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
    // Each round starts the program and the bare window, taking turns to go first.
    benchmark::RegisterBenchmark(
        "startup",
        [](benchmark::State& state) {
            static int round = 0;
            for (auto _ : state) {
                const QStringList bareArguments = {QStringLiteral("--bare-child"),
                                                   QString::number(formSize.width()),
                                                   QString::number(formSize.height())};
                ChildRun teiler, bare;
                if (round++ % 2 == 0) {
                    teiler = runChild({QStringLiteral("--startup-child")}, "painted");
                    bare = runChild(bareArguments, "painted");
                } else {
                    bare = runChild(bareArguments, "painted");
                    teiler = runChild({QStringLiteral("--startup-child")}, "painted");
                }
                if (!teiler.peakMb)
                    failures.push_back("startup: the program's child never painted its window");
                if (!bare.peakMb)
                    failures.push_back("startup: the bare window's child never painted");
                rounds["teiler/startup"].push_back(teiler.seconds * 1000);
                rounds["bare/startup"].push_back(bare.seconds * 1000);
                rounds["ratio/startup"].push_back(teiler.seconds / bare.seconds);
                state.counters["bare_ms"] = bare.seconds * 1000;
                state.counters["ratio"] = teiler.seconds / bare.seconds;
                state.SetIterationTime(teiler.seconds);
            }
        })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(settings.startRuns)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
}

// --- Memory at three zooms
// ----------------------------------------------------------------------------

struct Zoom {
    QString label;
    double factor;
    bool maximized;  // shown as "--zoom fit" shows the window
    double targetMb; // 0: reported only
    std::optional<double> sessionMb;
    std::optional<double> bareMb;
};

// The factor "--zoom fit" takes on this screen, worked out as the program does before it starts.
double fitFactor() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    const int menuBar = QFontMetrics(QGuiApplication::font()).height() + 8;
    return app::CommandLine::FitFactor(screen->availableGeometry(),
                                       app::CommandLine::DesignWindowSize(menuBar),
                                       app::CommandLine::AssumedFrame());
}

std::vector<Zoom> measureMemory() {
    const double fit = fitFactor();
    std::vector<Zoom> zooms = {
        {QStringLiteral("zoom 1"), 1, false, peakTargetZoom1Mb, {}, {}},
        {QStringLiteral("zoom fit (%1)").arg(fit, 0, 'f', 2), fit, true, 0, {}, {}},
        {QStringLiteral("zoom 2"), 2, false, peakTargetZoom2Mb, {}, {}},
    };
    for (Zoom& zoom : zooms) {
        QStringList session = {QStringLiteral("--session-child")};
        QStringList bare = {QStringLiteral("--bare-child"), QString::number(formSize.width()),
                            QString::number(formSize.height())};
        if (zoom.maximized) {
            session << QStringLiteral("--maximized");
            bare << QStringLiteral("--maximized");
        }
        zoom.sessionMb = runChild(session, "peak", zoom.factor, 180000).peakMb;
        zoom.bareMb = runChild(bare, "painted", zoom.factor).peakMb;
        if (!zoom.sessionMb)
            failures.push_back("memory: the session at " + zoom.label.toStdString() +
                               " did not report its peak");
        if (!zoom.bareMb)
            failures.push_back("memory: the bare window at " + zoom.label.toStdString() +
                               " did not report its peak");
    }
    return zooms;
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

QString mb(std::optional<double> v) {
    return v ? QStringLiteral("%1 MB").arg(*v, 0, 'f', 1) : QStringLiteral("–");
}

struct Spread {
    double median = 0, min = 0, max = 0;
};

// Median (the lower of the two middle values for an even count), least and greatest of the
// rounds kept under key.
std::optional<Spread> spreadOf(const std::string& key) {
    const auto found = rounds.find(key);
    if (found == rounds.end() || found->second.empty())
        return std::nullopt;
    std::vector<double> values = found->second;
    std::sort(values.begin(), values.end());
    return Spread{values[(values.size() - 1) / 2], values.front(), values.back()};
}

QString ratioText(const Spread& s) {
    return QStringLiteral("%1 (%2–%3)")
        .arg(s.median, 0, 'f', 2)
        .arg(s.min, 0, 'f', 2)
        .arg(s.max, 0, 'f', 2);
}

// Prints the tables and returns the targets that were missed.
std::vector<std::string> printTable(const bench::MedianReporter& medians,
                                    const std::vector<Zoom>& zooms, bool quick) {
    std::vector<std::string> missed;
    std::printf(
        "\nMedian of each command from its event procedure until its picture is painted, on "
        "the offscreen platform with a 1920 x 1080 screen%s. Ratios are taken round by round "
        "against a reference measured in the same round; the median ratio is followed by the "
        "least and greatest in brackets.\n",
        quick ? " (quick run, few repetitions)" : "");
    std::printf("Machine: %s.\n\n", qPrintable(machine()));
    std::printf("| Command | Median | Reference | Ratio (min–max) | Target | Met |\n");
    std::printf("|---|---:|---:|---:|---|---|\n");
    auto row = [](const QString& label, const QString& median, const QString& reference,
                  const QString& ratio, const QString& target, const QString& met) {
        std::printf("| %s | %s | %s | %s | %s | %s |\n", qPrintable(label), qPrintable(median),
                    qPrintable(reference), qPrintable(ratio), qPrintable(target), qPrintable(met));
    };
    auto judge = [&missed](bool ok, const std::string& what) {
        if (!ok)
            missed.push_back(what);
        return ok ? QStringLiteral("yes") : QStringLiteral("no");
    };

    {
        const auto teiler = spreadOf("teiler/startup");
        const auto bare = spreadOf("bare/startup");
        const auto ratio = spreadOf("ratio/startup");
        const QString target = QStringLiteral("≤ %1 × bare window").arg(startupRatioTarget);
        if (teiler && bare && ratio)
            row(QStringLiteral("Start-up to the first painted window"), ms(teiler->median),
                QStringLiteral("bare window %1").arg(ms(bare->median)), ratioText(*ratio), target,
                judge(ratio->median <= startupRatioTarget, "start-up ratio"));
        else
            row(QStringLiteral("Start-up to the first painted window"), QStringLiteral("–"), {}, {},
                target, {});
    }
    {
        const auto zoomed = spreadOf("zoomed/zoomRepaint");
        const auto plain = spreadOf("plain/zoomRepaint");
        const auto ratio = spreadOf("ratio/zoomRepaint");
        const QString label = QStringLiteral("Repaint of the frame at 400% (skyline, 501...1000)");
        const QString target = QStringLiteral("≤ %1 × at 100%").arg(zoomRepaintRatioTarget);
        if (zoomed && plain && ratio)
            row(label, ms(zoomed->median), QStringLiteral("at 100% %1").arg(ms(plain->median)),
                ratioText(*ratio), target,
                judge(ratio->median <= zoomRepaintRatioTarget, "zoom repaint ratio"));
        else
            row(label, QStringLiteral("–"), {}, {}, target, {});
    }
    for (const Command& c : commands()) {
        if (c.part)
            continue;
        const QString label = QString::fromStdString(c.label);
        const auto median = medians.medianMs(c.key);
        if (!median) {
            row(label, QStringLiteral("–"), {}, {}, {}, {});
            continue;
        }
        if (c.chart) {
            const auto floor = spreadOf("floor/" + c.key);
            const auto ratio = spreadOf("ratio/" + c.key);
            const QString target = QStringLiteral("≤ %1 × floor").arg(chartRatioTarget);
            if (floor && ratio)
                row(label, ms(*median), QStringLiteral("floor %1").arg(ms(floor->median)),
                    ratioText(*ratio), target,
                    judge(ratio->median <= chartRatioTarget, c.key + " ratio"));
            else
                row(label, ms(*median), {}, {}, target, {});
        } else if (c.key == "sweep") {
            const double perValue = *median / sweepValues;
            QString text = QStringLiteral("%1 per value").arg(ms(perValue));
            if (sweepUnpainted > 0)
                text += QStringLiteral(", %1 values not painted").arg(sweepUnpainted);
            row(label, ms(*median), {}, text,
                QStringLiteral("≤ %1 per value").arg(ms(sweepTargetMs)),
                judge(perValue <= sweepTargetMs && sweepUnpainted == 0, "sweep per value"));
        } else if (c.targetMs > 0) {
            row(label, ms(*median), {}, {}, QStringLiteral("< %1 ms").arg(c.targetMs),
                judge(*median < c.targetMs, c.key));
        } else {
            row(label, ms(*median), {}, {}, {}, {});
        }
    }
    for (const Zoom& zoom : zooms) {
        const QString label =
            QStringLiteral("Peak resident memory of a whole session, %1").arg(zoom.label);
        const QString reference = QStringLiteral("bare window %1").arg(mb(zoom.bareMb));
        if (zoom.targetMb > 0) {
            const QString target = QStringLiteral("≤ %1 MB").arg(zoom.targetMb);
            row(label, mb(zoom.sessionMb), reference, {}, target,
                zoom.sessionMb ? judge(*zoom.sessionMb <= zoom.targetMb,
                                       "peak memory at " + zoom.label.toStdString())
                               : QString());
        } else {
            row(label, mb(zoom.sessionMb), reference, {}, QStringLiteral("reported only"), {});
        }
    }

    for (const auto& [label, check] : floorCheck)
        std::printf(
            "\nThe floor of %s, drawn into an empty image of the whole canvas, differs from "
            "the canvas's own picture in %ld of its %lld pixels.",
            label.c_str(), check.differing, check.pixels);
    std::printf("\n");

    std::printf("\nThe floors part by part (medians): the trial divisions, the yields of the sum "
                "charts, the drawing calls into an image of the %d x %d pixels the frame shows, "
                "the hit list set and painted, the repaint of that image on a plain widget. Each "
                "column is the median of its own rounds, so the parts need not add up to the "
                "floor.\n\n",
                shownPart.width(), shownPart.height());
    std::printf("| Command | Arithmetic | Yields | Drawing | Hit list | Repaint | Floor |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (const Command& c : commands()) {
        if (!c.chart)
            continue;
        std::printf("| %s |", c.label.c_str());
        for (const char* part : floorParts) {
            const auto s = spreadOf(std::string(part) + "/" + c.key);
            std::printf(" %s |", s ? qPrintable(ms(s->median)) : "–");
        }
        const auto floor = spreadOf("floor/" + c.key);
        std::printf(" %s |\n", floor ? qPrintable(ms(floor->median)) : "–");
    }

    std::printf("\nParts of the commands (medians), to see where their time goes.\n\n");
    std::printf("| Part | Median |\n|---|---:|\n");
    for (const Command& c : commands())
        if (c.part)
            if (const auto median = medians.medianMs(c.key))
                std::printf("| %s | %s |\n", c.label.c_str(), qPrintable(ms(*median)));

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
    std::printf("\nWindow size at zoom 1: %d x %d. Peak resident memory of this benchmark "
                "process: %.1f MB.\n",
                formSize.width(), formSize.height(), peakResidentKb() / 1024.0);
    std::fflush(stdout);
    return missed;
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
    if (argc > 1 && std::strcmp(argv[1], "--bare-child") == 0)
        return bareChild(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--session-child") == 0)
        return sessionChild(argc, argv);
    // The benchmark itself runs at factor 1; the memory children get their zoom one by one.
    qunsetenv("QT_SCALE_FACTOR");

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
    formSize = form.size();
    canvasPaints = new bench::PaintWatcher(controls.picAusgabe);
    sheetPaints = new bench::PaintWatcher(controls.picZeichenblatt);
    iterPaints = new bench::PaintWatcher(controls.txtIter);
    hitListPaints = new bench::PaintWatcher(controls.txtTreffer->viewport());
    framePaints = new bench::PaintWatcher(controls.picRahmen);

    // The floor image holds the part of the canvas the frame shows at the left end, where every
    // chart is timed; the floor's repaint puts it on a widget of that size.
    controls.HScAusgabe->SetValue(0);
    QCoreApplication::processEvents();
    shownPart = partShownByFrame();
    floorImage = std::make_unique<QImage>(shownPart.size(), QImage::Format_RGB32);
    floorImage->setDotsPerMeterX(3780);
    floorImage->setDotsPerMeterY(3780);
    floorImage->fill(controls.picAusgabe->backColor());
    auto view = std::make_unique<FloorView>(*floorImage);
    floorView = view.get();
    floorViewPaints = new bench::PaintWatcher(floorView);
    floorView->show();
    QCoreApplication::processEvents();
    form.activateWindow();

    for (const Command& c : commands())
        if (c.chart)
            recordFloor(c);

    registerBenchmarks(settings);
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::vector<Zoom> zooms = measureMemory();
    const std::vector<std::string> missed = printTable(reporter, zooms, quick);
    for (const std::string& failure : failures)
        std::fprintf(stderr, "teiler_bench: %s\n", failure.c_str());
    for (const std::string& target : missed)
        std::fprintf(stderr, "teiler_bench: target missed%s: %s\n",
                     quick ? " (not counted in a quick run)" : "", target.c_str());
    window = nullptr;
    if (!failures.empty())
        return 1;
    return quick || missed.empty() ? 0 : 1;
}
