#include "scan/analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tagwright {
namespace {

struct Recorder : ScanObserver {
  std::vector<std::string> words;
  std::vector<std::int64_t> counts;
  int yields = 0;
  int stopAfterYields = -1;
  void OnNewWord(std::string_view word, std::int64_t numWords) override {
    words.emplace_back(word);
    counts.push_back(numWords);
  }
  void OnYield() override { ++yields; }
  bool StopRequested() override { return stopAfterYields >= 0 && yields >= stopAfterYields; }
};

TEST(Analysis, EveryKindOfLineEndEndsALine) {
  test::TempDir dir;
  Settings settings;
  settings.thresholdFrequency = 1;
  Recorder recorder;
  Analysis analysis(settings, recorder);
  // LF alone, CR alone and CR LF: three lines, each scanned with its own context.
  const auto path = dir.Write("page.htm", "<title>alpha\n</title>beta\rgamma\r\ndelta");
  ASSERT_EQ(RunScan(FileLines(path), analysis, recorder).outcome, RunOutcome::Completed);
  EXPECT_EQ(recorder.words, (std::vector<std::string>{"alpha", "beta", "gamma", "delta"}));
  EXPECT_EQ(recorder.counts, (std::vector<std::int64_t>{1, 2, 3, 4}));
  EXPECT_EQ(recorder.yields, 4);  // once after every non-empty line
  ASSERT_EQ(analysis.Ranked().size(), 4u);
  EXPECT_EQ(analysis.Ranked()[0].word, "alpha");
  EXPECT_EQ(analysis.Ranked()[0].keyValue, 100);
  EXPECT_NEAR(analysis.Ranked()[1].keyValue, 300.0 / 51, 1e-5);
}

TEST(Analysis, LinesScannedInPlaceCountAsLinesGivenByValue) {
  // One buffer for every line, as the run reads them: a long line first, so that shorter
  // ones land in a buffer with room to spare.
  const std::vector<std::string> lines = {
      std::string(200, ' ') + "<b>lantern</b> &auml;rger " + std::string(3000, 'x') + " compass",
      "  LANTERN <title>compasses</title>  ", "", "   ", "m\xfcller lanterns"};
  Settings settings;
  settings.thresholdFrequency = 1;
  ScanObserver quiet;
  Analysis byValue(settings, quiet);
  Analysis inPlace(settings, quiet);
  std::string buffer;
  for (const std::string& line : lines) {
    buffer = line;
    std::string copy = line;
    EXPECT_EQ(inPlace.ScanLineInPlace(buffer), byValue.ScanLineInPlace(copy)) << line;
  }
  byValue.Finish();
  inPlace.Finish();
  ASSERT_EQ(inPlace.Ranked().size(), byValue.Ranked().size());
  ASSERT_EQ(inPlace.Ranked().size(), 5u);  // lantern, aerger, compass, compasses, mueller
  for (std::size_t i = 0; i < byValue.Ranked().size(); ++i) {
    EXPECT_EQ(inPlace.Ranked()[i].word, byValue.Ranked()[i].word);
    EXPECT_EQ(inPlace.Ranked()[i].frequency, byValue.Ranked()[i].frequency);
    EXPECT_EQ(inPlace.Ranked()[i].keyValue, byValue.Ranked()[i].keyValue);
  }
}

TEST(Analysis, StopEndsTheScanAfterTheCurrentLine) {
  test::TempDir dir;
  Settings settings;
  Recorder recorder;
  recorder.stopAfterYields = 2;
  Analysis analysis(settings, recorder);
  const auto path = dir.Write("page.htm", "alpha alpha\n\n   \nbeta beta\ngamma gamma\n");
  EXPECT_EQ(RunScan(FileLines(path), analysis, recorder).outcome, RunOutcome::Stopped);
  EXPECT_EQ(recorder.words, (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(analysis.Table().WordCount(), 2);
  EXPECT_TRUE(analysis.Ranked().empty());  // no filter or scaling after a stop
}

TEST(Analysis, StopTakesEffectWithinALongLineOfWords) {
  // One line of 20,000 distinct words: the scan yields within it and ends at the stop.
  std::string line;
  constexpr int kWords = 20000;
  for (int i = 0; i < kWords; ++i) {
    line += "word";
    for (int n = i, d = 0; d < 4; ++d, n /= 26) line.push_back(static_cast<char>('a' + n % 26));
    line += ' ';
  }
  test::TempDir dir;
  Settings settings;
  Recorder recorder;
  recorder.stopAfterYields = 1;
  Analysis analysis(settings, recorder);
  EXPECT_EQ(RunScan(FileLines(dir.Write("page.htm", line + "\n")), analysis, recorder).outcome,
            RunOutcome::Stopped);
  EXPECT_GT(analysis.Table().WordCount(), 0);
  EXPECT_LT(analysis.Table().WordCount(), kWords / 2);
}

TEST(Analysis, CompletedScanAppliesMinimumFrequency) {
  test::TempDir dir;
  Settings settings;
  ScanObserver quiet;
  Analysis analysis(settings, quiet);
  const auto path = dir.Write("page.html", "Alpha ALPHA beta\r\nGamma gamma gamma\r\n");
  ASSERT_EQ(RunScan(FileLines(path), analysis, quiet).outcome, RunOutcome::Completed);
  ASSERT_EQ(analysis.Ranked().size(), 2u);
  EXPECT_EQ(analysis.Ranked()[0].word, "gamma");
  EXPECT_EQ(analysis.Ranked()[0].frequency, 3);
  EXPECT_EQ(analysis.Ranked()[1].word, "alpha");
  EXPECT_NEAR(analysis.Ranked()[1].keyValue, 200.0 / 3, 1e-4);
}

TEST(Analysis, AFileThatCannotBeReadIsAFailure) {
  test::TempDir dir;
  Settings settings;
  ScanObserver quiet;
  Analysis analysis(settings, quiet);
  const RunResult missing = RunScan(FileLines((dir.Path() / "gone.htm").string()), analysis, quiet);
  EXPECT_EQ(missing.outcome, RunOutcome::Failed);
  EXPECT_NE(missing.error.find("gone.htm"), std::string::npos);
  const RunResult folder = RunScan(FileLines(dir.Path().string()), analysis, quiet);
  EXPECT_EQ(folder.outcome, RunOutcome::Failed);
  EXPECT_FALSE(folder.error.empty());
}

TEST(Analysis, EmptyAndBlankFilesGiveAnEmptyTable) {
  test::TempDir dir;
  Settings settings;
  settings.thresholdFrequency = 1;
  Recorder recorder;
  Analysis analysis(settings, recorder);
  EXPECT_EQ(RunScan(FileLines(dir.Write("empty.htm", "")), analysis, recorder).outcome,
            RunOutcome::Completed);
  EXPECT_TRUE(analysis.Ranked().empty());
  EXPECT_EQ(RunScan(FileLines(dir.Write("blank.htm", "   \n\t\t\n")), analysis, recorder).outcome,
            RunOutcome::Completed);
  EXPECT_TRUE(analysis.Ranked().empty());
  EXPECT_EQ(recorder.yields, 1);  // the tab line is not empty and is scanned
}

TEST(Analysis, LongLinesAndManyWordsHaveNoSixteenBitLimit) {
  test::TempDir dir;
  Settings settings;
  settings.thresholdFrequency = 1;
  ScanObserver quiet;
  Analysis analysis(settings, quiet);
  // 40,000 distinct words on one line of about 280,000 characters.
  std::string line;
  for (int i = 0; i < 40000; ++i) {
    std::string word = "w";
    for (int n = i; n > 0 || word.size() < 5; n /= 26) word += static_cast<char>('a' + n % 26);
    line += word + "z ";
  }
  line += "<b>final</b>";
  ASSERT_EQ(RunScan(FileLines(dir.Write("big.htm", line)), analysis, quiet).outcome,
            RunOutcome::Completed);
  EXPECT_GT(analysis.Ranked().size(), 32767u);
  EXPECT_EQ(analysis.Ranked()[0].word, "final");
}

TEST(Analysis, WordsLookedAtAheadCountAsWordsScannedOneByOne) {
  // Enough distinct words for an index beyond the processor's caches, where the scan looks at
  // the words ahead on a line; between them short and dropped words, plurals, marks, tags and
  // references. Written twelve to a line and one to a line, the page must count alike.
  std::vector<std::string> tokens;
  for (int i = 0; i < 90000; ++i) {
    std::string word = "w";
    for (int n = i * 7; n > 0 || word.size() < 4; n /= 26) word += static_cast<char>('a' + n % 26);
    tokens.push_back(word);
    if (i % 3 == 0) tokens.push_back(word + "s");
    if (i % 5 == 0) tokens.emplace_back("of");
    if (i % 7 == 0) tokens.push_back("<b>" + word + "</b>,");
    if (i % 11 == 0) tokens.push_back("r&eacute;" + word + "&amp;" + word);
    if (i % 13 == 0) tokens.emplace_back("running");
  }
  std::string twelveToALine;
  std::string oneToALine;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    twelveToALine += tokens[i] + (i % 12 == 11 ? "\n" : " ");
    oneToALine += tokens[i] + "\n";
  }
  test::TempDir dir;
  Settings settings;
  settings.thresholdFrequency = 1;
  ScanObserver quiet;
  Analysis twelve(settings, quiet);
  Analysis one(settings, quiet);
  ASSERT_EQ(RunScan(FileLines(dir.Write("twelve.htm", twelveToALine)), twelve, quiet).outcome,
            RunOutcome::Completed);
  ASSERT_EQ(RunScan(FileLines(dir.Write("one.htm", oneToALine)), one, quiet).outcome,
            RunOutcome::Completed);
  ASSERT_EQ(twelve.Ranked().size(), one.Ranked().size());
  EXPECT_GT(one.Ranked().size(), 90000u);
  for (std::size_t i = 0; i < one.Ranked().size(); ++i) {
    ASSERT_EQ(twelve.Ranked()[i].word, one.Ranked()[i].word) << i;
    ASSERT_EQ(twelve.Ranked()[i].frequency, one.Ranked()[i].frequency) << i;
    ASSERT_EQ(twelve.Ranked()[i].keyValue, one.Ranked()[i].keyValue) << i;
  }
}

}  // namespace
}  // namespace tagwright

namespace tagwright {
namespace {

TEST(AnalysisCharset, LegacyPagesGiveNoGarbageWords) {
  test::TempDir dir;
  Settings settings;
  settings.thresholdFrequency = 1;
  Recorder recorder;
  Analysis analysis(settings, recorder);
  // The words of a page read from its file; a page held in memory must give the same.
  const auto words = [&](const std::string& page) {
    recorder.words.clear();
    EXPECT_EQ(RunScan(FileLines(dir.Write("page.html", page)), analysis, recorder).outcome,
              RunOutcome::Completed);
    std::vector<std::string> fromFile = recorder.words;
    recorder.words.clear();
    EXPECT_EQ(RunScan(PageLines(page), analysis, recorder).outcome, RunOutcome::Completed);
    EXPECT_EQ(recorder.words, fromFile) << page;
    return fromFile;
  };
  // Windows-1251 and ISO-8859-8 bytes, declared or not, read as Windows-1252 gave words
  // such as "aeaa"; their letters are separators in the default reading.
  const std::string russian =
      "<p>\xcc\xee\xf1\xea\xe2\xe0 \x2d \xf1\xf2\xee\xeb\xe8\xf6\xe0 \xd0\xee\xf1\xf1\xe8\xe8, "
      "\xe3\xee\xf0\xee\xe4 \xf4\xe5\xe4\xe5\xf0\xe0\xeb\xfc\xed\xee\xe3\xee \xe7\xed\xe0\xf7"
      "\xe5\xed\xe8\xff zebra</p>";
  for (const std::string& page : {"<meta charset=\"windows-1251\">" + russian, russian,
                                  std::string("<meta charset=\"iso-8859-8\"><p>\xf9\xec\xe5\xed "
                                              "\xf2\xe5\xec\xed zebra</p>")}) {
    EXPECT_EQ(words(page), (std::vector<std::string>{"zebra"})) << page;
  }
  // Latin letters of a declared charset are spelled as everywhere else, also in UTF-16.
  EXPECT_EQ(words("<meta charset=\"iso-8859-2\"><p>\xa3\xf3\x64\xbc \xbf\xf3\xb3\x77</p>"),
            (std::vector<std::string>{"lodz", "zolw"}));
  EXPECT_EQ(words(std::string("\xff\xfe<\0p\0>\0\xfc\0b\0e\0r\0 \0z\0e\0b\0r\0a\0", 28)),
            (std::vector<std::string>{"ueber", "zebra"}));
}

}  // namespace
}  // namespace tagwright
