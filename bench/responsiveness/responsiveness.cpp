// Drives the main window through scans of large pages and reports how long the window went
// without handling its events, how long Stop and Quit took to act, and how long the whole
// run took. Usage: tagwright_responsiveness [--words COUNT] [--line MEGABYTES] [--dir DIR]
// (defaults: 3000000 distinct words, a 30 MB line, pages written to a temporary folder).

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "app/main_window.h"
#include "app/platform.h"

namespace {

using tagwright::MainWindow;
using tagwright::MessageIcon;

class QuietPlatform final : public tagwright::Platform {
 public:
  void ShowMessage(const QString& text, const QString&, MessageIcon) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
  }
  QString OpenFileDialog(const QString&, const QString&) override { return {}; }
  QString SaveFileDialog(const QString&, const QString&, const QString&) override { return {}; }
  void SetClipboardText(const QString&) override {}
  bool OpenUrl(const QString&) override { return true; }
  int ScreenHeightTwips() const override { return 11520; }
};

// A word of letters only, distinct for every n (a to z counting, after "zq" so that no
// filter drops it).
std::string Word(long n) {
  std::string word = "zq";
  do {
    word += static_cast<char>('a' + n % 26);
    n /= 26;
  } while (n > 0);
  return word;
}

void WriteWordsPage(const std::string& path, long count) {
  std::ofstream out(path, std::ios::binary);
  out << "<html><head><title>Words</title></head><body>\n";
  for (long i = 0; i < count; ++i) out << Word(i) << ((i % 12 == 11) ? "\n" : " ");
  out << "\n</body></html>\n";
}

void WriteLinePage(const std::string& path, long megabytes) {
  std::ofstream out(path, std::ios::binary);
  const long bytes = megabytes << 20;
  long written = 0;
  out << "<html><head><title>One line</title></head><body>";
  for (long i = 0; written < bytes; ++i) {
    const std::string chunk =
        (i % 20 == 0 ? "<p><b>" : "") + Word(i) + (i % 20 == 19 ? "</b></p>" : " ");
    out << chunk;
    written += static_cast<long>(chunk.size());
  }
  out << "</body></html>\n";
}

// The processor time this thread has used, in milliseconds: on a busy machine a gap also
// holds the time the thread waited for a processor, which this leaves out.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Figures {
  double longestBusyMs = 0;   // the window thread's processor time between two turns
  qint64 longestGapMs = 0;    // between two turns of the event loop during the scan
  qint64 longestGapAtMs = 0;  // when that gap began, from the start of the run
  qint64 actionMs = -1;       // from the Stop or Quit click to the scan's end
  qint64 totalMs = 0;         // from the click that started the run to its end
};

enum class Action { None, Stop, Quit };

// Starts "List words" on `page`; with an action, clicks Stop or Quit `afterMs` into the scan.
Figures Measure(const QString& page, Action action, qint64 afterMs) {
  QuietPlatform platform;
  QTemporaryDir stateDir;
  MainWindow window(platform, stateDir.filePath(QStringLiteral("tgw.usr")));
  window.Form_Load();
  window.findChild<QLineEdit*>(QStringLiteral("txbInputFile"))->setText(page);
  auto* listWords = window.findChild<QPushButton*>(QStringLiteral("cmdListWords"));
  auto* quit = window.findChild<QPushButton*>(QStringLiteral("cmdQuit"));

  Figures figures;
  QElapsedTimer sinceTurn;
  QElapsedTimer sinceStart;
  QElapsedTimer sinceAction;
  bool scanning = false;
  double cpuAtTurn = 0;
  QTimer turns;  // fires at every turn of the event loop
  QObject::connect(&turns, &QTimer::timeout, [&] {
    if (scanning && sinceTurn.elapsed() > figures.longestGapMs) {
      figures.longestGapMs = sinceTurn.elapsed();
      figures.longestGapAtMs = sinceStart.elapsed() - figures.longestGapMs;
    }
    if (scanning)
      figures.longestBusyMs = std::max(figures.longestBusyMs, ThreadCpuMs() - cpuAtTurn);
    cpuAtTurn = ThreadCpuMs();
    sinceTurn.restart();
    if (action != Action::None && !sinceAction.isValid() && sinceStart.elapsed() >= afterMs) {
      sinceAction.start();
      (action == Action::Stop ? listWords : quit)->click();
    }
  });
  turns.start(0);
  QTimer::singleShot(0, [&] {
    scanning = true;
    cpuAtTurn = ThreadCpuMs();
    sinceTurn.start();
    sinceStart.start();
    listWords->click();  // returns when the run has ended
    scanning = false;
    figures.totalMs = sinceStart.elapsed();
    // The result's own step (filter, scaling, report) follows the last turn.
    figures.longestBusyMs = std::max(figures.longestBusyMs, ThreadCpuMs() - cpuAtTurn);
    if (sinceTurn.elapsed() > figures.longestGapMs) {
      figures.longestGapMs = sinceTurn.elapsed();
      figures.longestGapAtMs = figures.totalMs - figures.longestGapMs;
    }
    if (sinceAction.isValid()) figures.actionMs = sinceAction.elapsed();
    QCoreApplication::exit(0);
  });
  QCoreApplication::exec();
  return figures;
}

void Report(const char* what, const Figures& f) {
  std::printf("%-40s longest gap %5lld ms (at %5lld ms), busy %5.0f ms", what,
              static_cast<long long>(f.longestGapMs), static_cast<long long>(f.longestGapAtMs),
              f.longestBusyMs);
  if (f.actionMs >= 0) std::printf("  acted after %6lld ms", static_cast<long long>(f.actionMs));
  std::printf("  run %7lld ms\n", static_cast<long long>(f.totalMs));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  long words = 3000000;
  long megabytes = 30;
  QString dir;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
    if (args[i] == QLatin1String("--words")) words = args[i + 1].toLong();
    if (args[i] == QLatin1String("--line")) megabytes = args[i + 1].toLong();
    if (args[i] == QLatin1String("--dir")) dir = args[i + 1];
  }
  QTemporaryDir temporary;
  if (dir.isEmpty()) dir = temporary.path();
  QDir().mkpath(dir);
  const QString wordsPage = dir + QStringLiteral("/words-%1.html").arg(words);
  const QString linePage = dir + QStringLiteral("/line-%1mb.html").arg(megabytes);
  if (!QFile::exists(wordsPage)) WriteWordsPage(wordsPage.toStdString(), words);
  if (!QFile::exists(linePage)) WriteLinePage(linePage.toStdString(), megabytes);

  const QByteArray wordsName = QStringLiteral("%1 distinct words").arg(words).toUtf8();
  const QByteArray lineName = QStringLiteral("one line of %1 MB").arg(megabytes).toUtf8();
  // Stop and Quit are clicked halfway through a whole scan, however fast the machine.
  for (const auto& [name, page] :
       {std::pair{wordsName, wordsPage}, std::pair{lineName, linePage}}) {
    const Figures whole = Measure(page, Action::None, 0);
    Report((name + ", whole scan").constData(), whole);
    const qint64 half = whole.totalMs / 2;
    const QByteArray when = QStringLiteral(" after %1 ms").arg(half).toUtf8();
    Report((name + ", Stop" + when).constData(), Measure(page, Action::Stop, half));
    Report((name + ", Quit" + when).constData(), Measure(page, Action::Quit, half));
  }
  return 0;
}
