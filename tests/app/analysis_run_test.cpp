// The runs: their checks, the result, the reuse of a current analysis, Stop, changes and Quit
// during a scan, failures, and "Show existing  keywords".

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/result_box.h"
#include "app/text_convert.h"
#include "app/window_harness.h"
#include "output/meta_tag.h"
#include "output/word_list.h"
#include "scan/analysis.h"

namespace tagwright::test {
namespace {

const char* const kCommands[] = {"cmdInputFile",
                                 "cmdShowExistingKeywordMetaTag",
                                 "cmdGenerateKeywordMetaTag",
                                 "cmdClearInputFile",
                                 "cmdReset",
                                 "cmdClearBeginMetaTagWith",
                                 "cmdHelp",
                                 "cmdCopyToClipboard"};

// A word of letters only, distinct for every n.
std::string Word(int n) {
  std::string word = "word";
  do {
    word += static_cast<char>('a' + n % 26);
    n /= 26;
  } while (n > 0);
  return word;
}

// A page long enough that a scan takes many yields: thousands of distinct words.
std::string LongPage(int lines = 150000) {
  std::string page = "<html><head><title>Long page</title></head><body>\n";
  for (int line = 0; line < lines; ++line) {
    page += "<p>" + Word(line % 15000) + " and " + Word(line % 700) + " again</p>\n";
  }
  return page + "</body></html>\n";
}

// A distinct word for every n that every filter lets through from n = 15 on (four letters
// or more, no plural, inflected or Roman-numeral look).
std::string KeptWord(int n) {
  static constexpr char kLetters[] = "abcfhjknoprtuwz";
  std::string word = "zq";
  do {
    word += kLetters[n % 15];
    n /= 15;
  } while (n > 0);
  return word;
}

// One line of `count` distinct words in paragraphs: a scan spends long inside it.
std::string OneLinePage(int count) {
  std::string page = "<html><body>";
  for (int i = 0; i < count; ++i) page += (i % 10 == 0 ? "<p>" : "") + KeptWord(i + 15) + " ";
  return page + "</body></html>";
}

// What the core makes of `path` with the default settings (the words are views into it).
struct CoreAnalysis {
  explicit CoreAnalysis(const QString& path) {
    RunScan(FileLines(LocalPath(path)), analysis, quiet);
  }
  const RankedWords& Words() const { return analysis.Ranked(); }

  const Settings settings;
  ScanObserver quiet;
  Analysis analysis{settings, quiet};
};

QString ResultText(WindowHarness& h) { return h.Find<QPlainTextEdit>("txbMetaTag")->toPlainText(); }

// Calls `during` at the first chance while the run started by `button` is scanning.
void RunWith(QPushButton* button, const std::function<void()>& during) {
  QTimer::singleShot(0, during);
  button->click();  // returns when the run has ended
}

}  // namespace

class AnalysisRunTest : public QObject {
  Q_OBJECT
 private slots:
  void generateShowsTheTagAndTheCount();
  void secondClickReusesTheAnalysis();
  void changedSettingMakesTheNextRunScanAgain_data();
  void changedSettingMakesTheNextRunScanAgain();
  void clearedBoxStillShowsTheLastResult();
  void inputIsCheckedBeforeReading();
  void failedRunIsReported();
  void binaryPageGivesAResult();
  void wordsAppearWhileScanning();
  void stopEndsTheScan();
  void changeDuringTheScanMakesTheNextRunScanAgain_data();
  void changeDuringTheScanMakesTheNextRunScanAgain();
  void quitDuringTheScanSavesAndEnds();
  void stopInsideALongLineKeepsTheWordsFoundSoFar();
  void quitInsideALongLineSavesAndEndsTheScan();
  void foundWordsAreShownLineByLine();
  void showExistingKeywords();
};

void AnalysisRunTest::generateShowsTheTagAndTheCount() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("page.html", SamplePage());
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("  Web Design,  ");
  Click(h.Find<QPushButton>("cmdGenerateKeywordMetaTag"));

  const CoreAnalysis core(page);
  const RankedWords& words = core.Words();
  QVERIFY(words.size() >= 3);
  MetaTagRequest request;
  request.beginWithText = "  Web Design,  ";
  const MetaTag tag = GenerateMetaTag(words, request, Settings{});
  QCOMPARE(ResultText(h), ToBoxText(tag.text));
  QVERIFY(ResultText(h).contains("\n\nNumber of keywords in meta tag: "));
  QCOMPARE(h.Find<QLineEdit>("txbBeginMetaTagWith")->text(), QStringLiteral("Web Design,"));
  QCOMPARE(h.Find<QLabel>("lblNumberOfWords")->text(),
           QStringLiteral("Number of words found: %1").arg(words.size()));
  QCOMPARE(h.Find<QPushButton>("cmdListWords")->text(), QStringLiteral("&List words"));
  for (const char* command : kCommands) QVERIFY(h.Find<QPushButton>(command)->isEnabled());
  QCOMPARE(h.FocusName(), QStringLiteral("cmdGenerateKeywordMetaTag"));
  QVERIFY(h.Window().AnalysisCurrent());
  QVERIFY(h.platform.messages.empty());
}

void AnalysisRunTest::binaryPageGivesAResult() {
  WindowHarness h;
  h.Start();
  // NUL bytes, invalid UTF-8 and stray brackets between words that occur often enough.
  std::string bytes;
  for (int i = 0; i < 200; ++i) {
    bytes += std::string("garden\0\xff\xfe<\x01tools>\x80 spade ", 25) + "<<b>>rake\r";
  }
  const QString page = h.Page("binary.html", bytes);
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  Click(h.Find<QPushButton>("cmdListWords"));
  const CoreAnalysis core(page);
  const RankedWords& words = core.Words();
  QVERIFY(!words.empty());
  QCOMPARE(ResultText(h), ToBoxText(ShowWordList(words, Settings{})));
  QVERIFY(ResultText(h).contains("garden"));
  QVERIFY(h.platform.messages.empty());
}

void AnalysisRunTest::secondClickReusesTheAnalysis() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("page.html", SamplePage());
  const CoreAnalysis core(page);
  const RankedWords& words = core.Words();
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  const QString first = ResultText(h);
  // Without the file, only a reused analysis can answer.
  std::filesystem::remove(page.toStdString());
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QCOMPARE(ResultText(h), first);
  h.Find<QPushButton>("cmdListWords")->click();
  QCOMPARE(ResultText(h), ToBoxText(ShowWordList(words, Settings{})));
  // The limits and phrases shape the reused result.
  h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->setText("5");
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("alpha, beta");
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QVERIFY(ResultText(h).startsWith("<META NAME=\"keywords\" CONTENT=\"alpha,beta,"));
  QVERIFY(ResultText(h).contains("Number of keywords in meta tag: 5\n"));
  QVERIFY(h.platform.messages.empty());
}

void AnalysisRunTest::changedSettingMakesTheNextRunScanAgain_data() {
  QTest::addColumn<QString>("control");
  for (const char* name :
       {"chkIgnoreCommonWords", "chkIgnoreShortWords", "cboShortWordSize", "cboThresholdFrequency",
        "cboTableWeight", "cboBoldWeight", "cboExistingKeywordsWeight"}) {
    QTest::newRow(name) << name;
  }
}

void AnalysisRunTest::changedSettingMakesTheNextRunScanAgain() {
  QFETCH(QString, control);
  WindowHarness h;
  h.Start();
  const QString page = h.Page("page.html", SamplePage());
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  std::filesystem::remove(page.toStdString());
  // Changed and changed back: still a change.
  const QByteArray name = control.toLatin1();
  if (control.startsWith("chk")) {
    auto* box = h.Find<QCheckBox>(name.constData());
    box->setChecked(false);
    box->setChecked(true);
  } else {
    auto* list = h.Find<QComboBox>(name.constData());
    const int index = list->currentIndex();
    list->setCurrentIndex(index == 0 ? 1 : 0);
    list->setCurrentIndex(index);
  }
  QVERIFY(!h.Window().AnalysisCurrent());
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QCOMPARE(h.platform.MessageTexts(), QStringList{"Input file not found."});
}

void AnalysisRunTest::clearedBoxStillShowsTheLastResult() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("page.html", SamplePage());
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  const QString tag = ResultText(h);
  Click(h.Find<QPushButton>("cmdClearInputFile"));
  h.Find<QPushButton>("cmdListWords")->click();
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QCOMPARE(ResultText(h), tag);
  QVERIFY(h.platform.messages.empty());
}

void AnalysisRunTest::inputIsCheckedBeforeReading() {
  WindowHarness h;
  h.Start();
  auto* input = h.Find<QLineEdit>("txbInputFile");
  input->setText("   ");
  h.Find<QPushButton>("cmdListWords")->click();
  QCOMPARE(input->text(), QString());
  QCOMPARE(h.platform.messages.size(), std::size_t{1});
  QCOMPARE(h.platform.messages[0].text, QStringLiteral("Input file not specified."));
  QCOMPARE(h.platform.messages[0].title, QStringLiteral("Error"));
  QVERIFY(h.platform.messages[0].icon == MessageIcon::Exclamation);

  const QString page = h.Page("page.html", SamplePage());
  input->setText(QString::fromStdString((h.Dir().Path() / "gone.html").string()));
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QCOMPARE(h.platform.messages.size(), std::size_t{2});
  QCOMPARE(h.platform.messages[1].text, QStringLiteral("Input file not found."));
  QCOMPARE(h.platform.messages[1].title, QStringLiteral("File not found"));

  input->setText("  " + page + " ");
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QCOMPARE(input->text(), page);
  QCOMPARE(h.platform.messages.size(), std::size_t{2});
  QVERIFY(ResultText(h).startsWith("<META NAME=\"keywords\""));
}

void AnalysisRunTest::failedRunIsReported() {
#ifdef __linux__
  WindowHarness h;
  h.Start();
  h.Find<QPlainTextEdit>("txbMetaTag")->setPlainText("before");
  // A regular file whose first bytes cannot be read, even by root, under a page's name.
  const std::filesystem::path mem = h.Dir().Path() / "mem.html";
  std::filesystem::create_symlink("/proc/self/mem", mem);
  h.Find<QLineEdit>("txbInputFile")->setText(QString::fromStdString(mem.string()));
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QCOMPARE(h.platform.messages.size(), std::size_t{1});
  QCOMPARE(h.platform.messages[0].title, QStringLiteral("Error"));
  QVERIFY(!h.platform.messages[0].text.isEmpty());
  QCOMPARE(h.Find<QPushButton>("cmdListWords")->text(), QStringLiteral("&List words"));
  for (const char* command : kCommands) QVERIFY(h.Find<QPushButton>(command)->isEnabled());
  QVERIFY(!h.Window().AnalysisCurrent());
  QVERIFY(!ResultText(h).contains("META"));
#else
  QSKIP("needs a file that cannot be read");
#endif
}

void AnalysisRunTest::wordsAppearWhileScanning() {
  WindowHarness h;
  h.Start();
  // Long enough that the first words are shown long before the scan could end on any
  // machine; Stop ends it as soon as they are seen.
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("long.html", LongPage(1500000)));
  auto* listWords = h.Find<QPushButton>("cmdListWords");
  QString shownWords;
  QString shownCount;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    shownWords = ResultText(h);
    shownCount = h.Find<QLabel>("lblNumberOfWords")->text();
    if (!shownWords.isEmpty()) {
      sampler.stop();
      listWords->click();  // "Stop"
    }
  });
  sampler.start(0);  // at every chance the scan gives the window
  listWords->click();
  // Each new word followed by a blank, and the count of them beside.
  QVERIFY(!shownWords.isEmpty());
  QVERIFY(!shownWords.startsWith("Rank"));
  QVERIFY(shownWords.endsWith(' '));
  QCOMPARE(shownCount, QStringLiteral("Number of words found: %1")
                           .arg(shownWords.split(' ', Qt::SkipEmptyParts).size()));
}

void AnalysisRunTest::stopEndsTheScan() {
  WindowHarness h;
  h.Start();
  const QString page = h.Page("long.html", LongPage());
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  auto* listWords = h.Find<QPushButton>("cmdListWords");
  QString caption;
  QStringList enabled;
  RunWith(h.Find<QPushButton>("cmdGenerateKeywordMetaTag"), [&] {
    caption = listWords->text();
    for (QPushButton* button : h.Window().findChildren<QPushButton*>()) {
      if (button->isEnabled()) enabled.append(button->objectName());
    }
    Click(listWords);
  });
  QCOMPARE(caption, QStringLiteral("Sto&p"));
  enabled.sort();
  QCOMPARE(enabled, (QStringList{"cmdListWords", "cmdQuit"}));

  const QString text = ResultText(h);
  const qsizetype stop = text.indexOf("\nStopped with ");
  QVERIFY2(stop > 0, qPrintable(text.right(80)));
  const int shown = static_cast<int>(text.left(stop).split(' ', Qt::SkipEmptyParts).size());
  QCOMPARE(text.mid(stop), QStringLiteral("\nStopped with %1 words identified.").arg(shown));
  QVERIFY(shown < 15000);
  QCOMPARE(h.Find<QPlainTextEdit>("txbMetaTag")->textCursor().position(),
           static_cast<int>(text.size()));
  QCOMPARE(h.Find<QLabel>("lblNumberOfWords")->text(), QString());
  QCOMPARE(listWords->text(), QStringLiteral("&List words"));
  for (const char* command : kCommands) QVERIFY(h.Find<QPushButton>(command)->isEnabled());
  QVERIFY(!h.Window().AnalysisCurrent());
  // The next click scans again, and to the end.
  h.Find<QPushButton>("cmdGenerateKeywordMetaTag")->click();
  QVERIFY(h.Window().AnalysisCurrent());
  QVERIFY(ResultText(h).startsWith("<META"));
}

void AnalysisRunTest::changeDuringTheScanMakesTheNextRunScanAgain_data() {
  QTest::addColumn<QString>("control");
  for (const char* name : {"cboBoldWeight", "chkModernMarkup", "chkIgnoreCommonWords"}) {
    QTest::newRow(name) << name;
  }
}

void AnalysisRunTest::changeDuringTheScanMakesTheNextRunScanAgain() {
  QFETCH(QString, control);
  WindowHarness h;
  h.Start();
  const QString page = h.Page("long.html", LongPage());
  h.Find<QLineEdit>("txbInputFile")->setText(page);
  const QByteArray name = control.toLatin1();
  bool changed = false;
  RunWith(h.Find<QPushButton>("cmdGenerateKeywordMetaTag"), [&] {
    if (control.startsWith("chk")) {
      auto* box = h.Find<QCheckBox>(name.constData());
      QVERIFY(box->isEnabled());
      box->toggle();
    } else {
      auto* list = h.Find<QComboBox>(name.constData());
      QVERIFY(list->isEnabled());
      list->setCurrentIndex(6);
    }
    changed = !h.Window().AnalysisCurrent();
    // The focus rule, with the buttons disabled, picks "Stop".
    QCOMPARE(h.FocusName(), QStringLiteral("cmdListWords"));
  });
  QVERIFY(changed);
  // The scan completed and its result shows, but it mixes both settings: not current.
  QVERIFY(ResultText(h).startsWith("<META"));
  QVERIFY(!h.Window().AnalysisCurrent());
  std::filesystem::remove(page.toStdString());
  h.Find<QPushButton>("cmdListWords")->click();
  QCOMPARE(h.platform.MessageTexts(), QStringList{"Input file not found."});
}

void AnalysisRunTest::quitDuringTheScanSavesAndEnds() {
  WindowHarness h;
  MainWindow& w = h.Start();
  QSignalSpy ended(&w, &MainWindow::ended);
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("long.html", LongPage()));
  h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->setText("42");
  auto* reset = h.Find<QPushButton>("cmdReset");
  RunWith(h.Find<QPushButton>("cmdGenerateKeywordMetaTag"), [&] {
    Click(h.Find<QPushButton>("cmdQuit"));
    // Whatever else was on its way runs no handler.
    reset->setEnabled(true);
    reset->click();
  });
  QCOMPARE(ended.count(), 1);
  QVERIFY(!w.isVisible());
  const std::string state = h.ReadState();
  QVERIFY(state.find("\"42\"") != std::string::npos);
  QCOMPARE(h.Find<QLineEdit>("txbMaxNumKeywordsInMetaTag")->text(), QStringLiteral("42"));
  // The scan did not go on to its result.
  QVERIFY(!ResultText(h).contains("META"));
  QVERIFY(!ResultText(h).contains("Stopped"));
  QVERIFY(!w.AnalysisCurrent());
  w.close();
  QCOMPARE(ended.count(), 1);
  QCOMPARE(h.ReadState(), state);
}

void AnalysisRunTest::stopInsideALongLineKeepsTheWordsFoundSoFar() {
  WindowHarness h;
  h.Start();
  constexpr int kWords = 300000;
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("line.html", OneLinePage(kWords)));
  RunWith(h.Find<QPushButton>("cmdListWords"), [&] { Click(h.Find<QPushButton>("cmdListWords")); });
  const QString text = ResultText(h);
  const qsizetype stop = text.indexOf("\nStopped with ");
  QVERIFY2(stop > 0, qPrintable(text.right(80)));
  // The words found before Stop, in the page's order, and the line that counts them.
  const QStringList shown = text.left(stop).simplified().split(' ', Qt::SkipEmptyParts);
  QVERIFY(!shown.isEmpty());
  QVERIFY(shown.size() < kWords);  // stopped within the page's one line
  for (qsizetype i = 0; i < shown.size(); ++i) {
    QCOMPARE(shown[i], QString::fromStdString(KeptWord(static_cast<int>(i) + 15)));
  }
  QCOMPARE(text.mid(stop), QStringLiteral("\nStopped with %1 words identified.").arg(shown.size()));
  QCOMPARE(h.Window().Runs().Result().Table().WordCount(), shown.size());
  QVERIFY(!h.Window().AnalysisCurrent());
}

void AnalysisRunTest::quitInsideALongLineSavesAndEndsTheScan() {
  WindowHarness h;
  MainWindow& w = h.Start();
  QSignalSpy ended(&w, &MainWindow::ended);
  constexpr int kWords = 300000;
  h.Find<QLineEdit>("txbInputFile")->setText(h.Page("line.html", OneLinePage(kWords)));
  h.Find<QLineEdit>("txbBeginMetaTagWith")->setText("kept");
  RunWith(h.Find<QPushButton>("cmdListWords"), [&] { Click(h.Find<QPushButton>("cmdQuit")); });
  QCOMPARE(ended.count(), 1);
  QVERIFY(h.ReadState().find("\"kept\"") != std::string::npos);
  // The scan ended where Quit found it, not at the end of the line.
  QVERIFY(w.Runs().Result().Table().WordCount() < kWords);
  QVERIFY(!ResultText(h).contains("Stopped"));
}

void AnalysisRunTest::foundWordsAreShownLineByLine() {
  WindowHarness h;
  h.Start();
  auto* box = h.Find<QPlainTextEdit>("txbMetaTag");
  box->clear();
  QString all;
  for (int batch = 0; batch < 40; ++batch) {
    QString words;
    for (int i = 0; i < 397; ++i) words += QString::fromStdString(Word(batch * 397 + i)) + ' ';
    words += QString(150, 'x') + ' ';  // longer than a line: it wraps
    AppendWords(*box, words);
    all += words;
  }
  const QString text = box->toPlainText();
  QCOMPARE(QString(text).remove('\n'), all);  // every word, each followed by its blank
  QCOMPARE(box->textCursor().position(), static_cast<int>(text.size()));
  // The words come in paragraphs of bounded length, so an append stores and lays out only
  // the new ones.
  const QStringList paragraphs = text.split('\n');
  QVERIFY(paragraphs.size() > 10);
  for (const QString& paragraph : paragraphs) {
    QVERIFY2(paragraph.size() < 2048 + 200, qPrintable(paragraph.left(40)));
  }
}

void AnalysisRunTest::showExistingKeywords() {
  WindowHarness h;
  h.Start();
  auto* show = h.Find<QPushButton>("cmdShowExistingKeywordMetaTag");
  auto* input = h.Find<QLineEdit>("txbInputFile");
  input->setText(h.Page("page.html", SamplePage()));
  show->click();
  QCOMPARE(ResultText(h),
           QStringLiteral(
               "Existing keyword meta tag:\n<meta name=\"keywords\" content=\"garden, tools\">"));
  QVERIFY(!h.Window().AnalysisCurrent());  // untouched: no scan happened
  // Bytes that are not UTF-8 are read as Windows-1252.
  input->setText(h.Page("cafe.html", "<META NAME=\"keywords\" CONTENT=\"caf\xe9 cr\xe8me\">\r\n"));
  show->click();
  QCOMPARE(ResultText(h), QStringLiteral("Existing keyword meta tag:\n<meta name=\"keywords\" "
                                         "content=\"caf\u00e9 cr\u00e8me\">"));
  input->setText(h.Page("plain.html", "<head><title>x</title></head>\r\n"));
  show->click();
  QCOMPARE(ResultText(h), QStringLiteral("No keyword meta tag found."));
  input->clear();
  show->click();
  QCOMPARE(h.platform.MessageTexts(), QStringList{"Input file not specified."});
  QCOMPARE(ResultText(h), QStringLiteral("No keyword meta tag found."));
}

}  // namespace tagwright::test

QTEST_MAIN(tagwright::test::AnalysisRunTest)
#include "analysis_run_test.moc"
