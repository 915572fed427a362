// Times the main window's start with a large collection as the last file, beside the core
// read of the same file, and measures the memory the open collection takes.
//   bench_window_start [NODES=100000] [RUNS=3]
// Prints medians over the runs:
//   RESULT window_read_ms    the core read of the file alone, in a process just started
//   RESULT window_start_ms   constructing and showing the window until the tree view has
//                            painted the whole collection
//   RESULT window_rss_mb     resident memory the window with the collection open added
//   RESULT window_file_mb    the size of the file
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
// Each window start runs in a child process (this program again, with --window): every
// start pays for its fonts, styles and first paint as the real program does, and the
// memory figure is the child's resident size after the tree is shown less its size just
// before the window was made, with nothing left over from earlier runs or from the
// generator and the core reads of this process.
//
// The core read it is compared with runs in a child process of its own as well (--read):
// a process that has just started pays for every page of memory it touches for the first
// time, which for a large collection is a good part of the read, and the window's read
// pays that too. The same read repeated inside this process, on memory it has used
// before, is printed for reference as "warm read".

#include "app/help_and_updates.h"
#include "app/ini_file.h"
#include "app/main_window.h"
#include "collection_generator.h"
#include "silent_prompter.h"
#include "storage/xml_collection.h"
#include "tree/tree_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A field of /proc/self/status in kilobytes ("VmRSS", "VmHWM"); 0 where there is none.
long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(prefix)) return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    return 0;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double megabytes(double bytes) { return bytes / 1e6; }

// Ends the event loop after the first paint of the tree view's viewport that happens once
// the condition holds (the loop is left when that paint is done).
class PaintWatch : public QObject {
public:
    PaintWatch(QEventLoop& loop, std::function<bool()> ready) : loop_(loop), ready_(std::move(ready)) {}
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted && ready_()) {
            painted = true;
            QTimer::singleShot(0, &loop_, &QEventLoop::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
    std::function<bool()> ready_;
};

// The child: one window start with the settings folder given. Prints "start_ms", "rss_kb",
// "peak_kb" and "nodes" lines for the parent.
int windowStart(const QString& folder, int expectedNodes) {
    tw::HelpAndUpdates::setUpdateCheckEnabled(false);  // no network from here
    tw::bench::SilentPrompter prompter;
    const long before = statusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(folder));
    // Shown when the whole collection is in the tree and the window takes commands again.
    const auto loaded = [&form, expectedNodes] {
        const QAction* save = form.command(QStringLiteral("saveCollection"));
        // The commands first: the tree is not asked while a read may still be filling it.
        return save && save->isEnabled() && form.tree().count() == expectedNodes;
    };
    // The program's own event loop: it sleeps while there is nothing to do, as the program
    // does, and leaves the processors to whatever the window runs meanwhile.
    QEventLoop loop;
    PaintWatch watch(loop, loaded);
    form.treeView()->viewport()->installEventFilter(&watch);
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    form.show();
    if (!watch.painted) loop.exec();
    if (!watch.painted) {
        std::fprintf(stderr, "the tree was not shown within ten minutes\n");
        return 1;
    }
    const double startMs = timer.nsecsElapsed() / 1e6;
    const long after = statusKb("VmRSS");
    std::printf("start_ms %.3f\nrss_kb %ld\npeak_kb %ld\nnodes %d\n", startMs, after - before, statusKb("VmHWM"),
                form.tree().count());
    std::fflush(stdout);
    return 0;
}

// The child for the core read alone: prints "read_ms" and "nodes".
int coreRead(const QString& path) {
    tw::CollectionTree tree;
    QElapsedTimer timer;
    timer.start();
    if (!tw::loadCollectionXml(tree, path, {})) return 1;
    std::printf("read_ms %.3f\nnodes %d\n", timer.nsecsElapsed() / 1e6, tree.count());
    std::fflush(stdout);
    return 0;
}

// Runs this program with arguments and returns its output; empty when it failed.
QByteArray runChild(const QStringList& arguments) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) return {};
    return child.readAllStandardOutput();
}

// The children's value of key in their output.
double childValue(const QByteArray& output, const char* key) {
    const QByteArray prefix = QByteArray(key) + ' ';
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith(prefix)) return line.mid(prefix.size()).toDouble();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--window")) return windowStart(args[2], args[3].toInt());
    if (args.size() == 3 && args[1] == QLatin1String("--read")) return coreRead(args[2]);

    tw::bench::GeneratorOptions options;
    if (args.size() > 1) options.nodes = std::max(1, args[1].toInt());
    const int runs = std::max(1, args.size() > 2 ? args[2].toInt() : 3);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("collection.xml"));
    {
        tw::CollectionTree tree;
        tw::bench::generateCollection(tree, options);
        // The sections of the top two levels were saved open (the open folder is their
        // record's picture), as a user leaves the upper part of a collection open.
        for (tw::Node* n : tree.preorder())
            if (tw::isSectionKind(n->kindImage) && tree.levelOf(n) <= 2) n->page->imageIndex = n->page->selectedIndex = 1;
        if (!tw::saveCollectionXml(tree, path, {}).written) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const qint64 fileBytes = QFileInfo(path).size();
    {
        tw::IniFile ini(QDir(dir.path()).filePath(QStringLiteral("Settings.ini")));
        ini.writeText(QStringLiteral("Files"), QStringLiteral("LastFile"), path);
        ini.writeInt(QStringLiteral("Window"), QStringLiteral("left"), 20);
        ini.writeInt(QStringLiteral("Window"), QStringLiteral("top"), 40);
        ini.writeInt(QStringLiteral("Window"), QStringLiteral("width"), 1000);
        ini.writeInt(QStringLiteral("Window"), QStringLiteral("height"), 700);
        ini.writeText(QStringLiteral("Update"), QStringLiteral("host"), QString());
        if (!ini.save()) return 1;
    }

    std::vector<double> reads, warmReads, starts, rss, peaks;
    int nodes = 0;
    for (int run = 0; run < runs; ++run) {
        {
            tw::CollectionTree tree;
            QElapsedTimer timer;
            timer.start();
            if (!tw::loadCollectionXml(tree, path, {})) return 1;
            warmReads.push_back(timer.nsecsElapsed() / 1e6);
            nodes = tree.count();
        }
        const QByteArray read = runChild({QStringLiteral("--read"), path});
        if (read.isEmpty() || childValue(read, "nodes") != nodes) {
            std::fprintf(stderr, "the core read failed\n");
            return 1;
        }
        reads.push_back(childValue(read, "read_ms"));
        const QByteArray window = runChild({QStringLiteral("--window"), dir.path(), QString::number(nodes)});
        if (window.isEmpty()) {
            std::fprintf(stderr, "the window start failed\n");
            return 1;
        }
        starts.push_back(childValue(window, "start_ms"));
        rss.push_back(childValue(window, "rss_kb") * 1024);
        peaks.push_back(childValue(window, "peak_kb") * 1024);
        std::printf("run %d: read %.1f ms (warm %.1f ms), window start %.1f ms, resident %+.1f MB, peak %.1f MB\n",
                    run + 1, reads.back(), warmReads.back(), starts.back(), megabytes(rss.back()), megabytes(peaks.back()));
    }
    std::printf("nodes: %d\n", nodes);
    std::printf("warm read (repeated in this process): %.1f ms\n", median(warmReads));
    std::printf("window_peak_mb (whole child process): %.1f\n", megabytes(median(peaks)));
    std::printf("RESULT window_read_ms %.1f\n", median(reads));
    std::printf("RESULT window_start_ms %.1f\n", median(starts));
    std::printf("RESULT window_rss_mb %.1f\n", megabytes(median(rss)));
    std::printf("RESULT window_file_mb %.1f\n", megabytes(static_cast<double>(fileBytes)));
    return 0;
}
