#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "help/help_text.h"
#include "help/manual_location.h"

using namespace tagwright;

namespace {

QStringList HelpLines() { return QString::fromStdString(HelpText()).split(QStringLiteral("\r\n")); }

}  // namespace

class HelpTextTest : public QObject {
  Q_OBJECT
 private slots:
  void everyLineMatchesTheFixedText();
  void linesAreSeparatedByCrLfOnly();
  void firstLineNamesTheDocumentationAddress();
  void addressesOpenTheShippedManual();
  void manualIsFoundRelativeToTheProgram_data();
  void manualIsFoundRelativeToTheProgram();
};

void HelpTextTest::everyLineMatchesTheFixedText() {
  const QString address = QString::fromStdString(DocumentationAddress());
  // Sections are set apart by one empty line; items (a) to (f) and (i), (ii) are not.
  const QStringList expected = {
      "An illustrated verson of this documentation can be found at " + address +
          ".  This help window may be resized for easier reading.",
      "",
      "This program generates keywords meta tags.  It works basically by counting the number of "
      "occurrences of words in your HTML document and building the keywords meta tag from the "
      "most-frequently used words (ignoring common words such as 'the' and 'which').  It does "
      "not, however, just use word frequencies, but assigns more (or less) importance to words "
      "which occur:",
      "",
      "(a) in the title, <TITLE>...</TITLE>",
      "(b) in the description, <META NAME=\"description\" CONTENT=\"...\">",
      "(c) among existing keywords, <META NAME=\"keywords\" CONTENT=\"...\">",
      "(d) in a heading, e.g., <H4>...</H4>",
      "(e) in a table, <TABLE>...</TABLE> and",
      "(f) in boldface, <B>...</B>",
      "",
      // One line of the text, split to fit, like the longer ones below.
      // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
      "You can control the amount of weight given to words occurring in these contexts, as "
      "follows:",
      "",
      "Words in boldface can be given a weight of 1 to 9. The weight is added to that of every "
      "occurrence in boldface: a word in ordinary text counts 3, so with a weight of 5 a word in "
      "boldface counts 8. Set this to 1 to give bold words the least extra weight.",
      "",
      "Words in a table can be given a weight of 0 to 9. Set this to 0 if words within tables "
      "are to be ignored.",
      "",
      "Words in a heading are given an extra weight by the type of heading, from 6 for <H1> "
      "down to 1 for <H6>, e.g., words in <H4>...</H4> get an extra weight of 3.",
      "",
      "Existing keywords (those in a keywords meta tag already existing in the document) can be "
      "given a weight of 0 to 9. Set this to 0 if existing keywords are to be ignored.",
      "",
      "Modern markup can be ticked to read the page as it is written today: headings, bold and "
      "title tags with attributes, e.g., <H2 CLASS=...>, count like the plain tags and <STRONG> "
      "counts as boldface; hidden text and navigation are skipped; the common words of the "
      "page's language are ignored as well; and letters of every script make words.",
      "",
      "The input file (which must have a .htm or a .html extension) is selected (by clicking on "
      "'Input file') in the usual way:",
      "",
      "If the document already has a keywords meta tag then you can display it by clicking on "
      "'Show existing keywords'.",
      "",
      "You can tell the program to ignore short words, i.e., words with a specified number of "
      "letters (such as 3) or less. You can also tell the program to ignore common words, e.g., "
      "'this' and 'into' (this is the default option and should always be used).  You can "
      "require that only words which occur a specified minimum number of times should be "
      "considered for inclusion in the keywords meta tag. And you can specify the maximum number "
      "of keywords in the meta tag and the maximum length in bytes of the meta tag.",
      "",
      "After you have specified the input file and the controlling parameters you can either:",
      "(i)click on 'List words' to get a list of the words satisfying the selection criteria, "
      "together with their keyword value and frequency or",
      "(ii) click on 'Generate keywords meta tag' to get the meta tag.",
      "",
      "If you want some words to be included as phrases you can type them into the 'Begin meta "
      "tag with' textbox, then pressing 'Generate keywords meta tag' gives the revised meta tag:",
      "",
      "You can edit the keywords directly, then copy the keywords meta tag to the clipboard and "
      "paste it into the header section of your HTML document.",
      "",
  };
  const QStringList lines = HelpLines();
  QCOMPARE(lines.size(), expected.size());
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QVERIFY2(lines[i] == expected[i],
             qPrintable(QStringLiteral("line %1: %2").arg(i + 1).arg(lines[i])));
  }
}

void HelpTextTest::linesAreSeparatedByCrLfOnly() {
  const std::string text = HelpText();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') QCOMPARE(text[i + 1], '\n');
    if (text[i] == '\n') QVERIFY(i > 0 && text[i - 1] == '\r');
  }
  // The last section is followed by its empty line, then nothing.
  QVERIFY(QString::fromStdString(text).endsWith(
      QStringLiteral("header section of your HTML document.\r\n")));
  QVERIFY(text.find('\t') == std::string::npos);
}

void HelpTextTest::firstLineNamesTheDocumentationAddress() {
  const QString first = HelpLines().first();
  const QString address = QString::fromStdString(DocumentationAddress());
  QVERIFY(first.contains(QStringLiteral(" found at ") + address + QStringLiteral(".  This")));
  // The address is a plain file address: no blank would cut it when the line wraps.
  QVERIFY(!address.contains(' '));
}

void HelpTextTest::addressesOpenTheShippedManual() {
  const QUrl documentation(QString::fromStdString(DocumentationAddress()));
  QVERIFY(documentation.isValid());
  QVERIFY(documentation.isLocalFile());
  const QFileInfo manual(documentation.toLocalFile());
  QCOMPARE(manual.fileName(), QStringLiteral("manual.html"));
  QVERIFY2(manual.exists(), qPrintable(manual.filePath()));

  // The home page is the manual's start: the same file at its top anchor.
  const QUrl home(QString::fromStdString(HomePageAddress()));
  QCOMPARE(home.adjusted(QUrl::RemoveFragment), documentation);
  QCOMPARE(home.fragment(), QStringLiteral("top"));
  QFile file(manual.filePath());
  QVERIFY(file.open(QIODevice::ReadOnly));
  QVERIFY(file.readAll().contains("id=\"top\""));
}

void HelpTextTest::manualIsFoundRelativeToTheProgram_data() {
  QTest::addColumn<bool>("installed");
  QTest::addColumn<QString>("marker");
  QTest::addColumn<QString>("expected");
  // "sources" stands for the source tree of this build, "installed" for the manual under the
  // program's ../share/doc/tagwright.
  QTest::newRow("installed, no marker") << true << QString() << "installed";
  QTest::newRow("installed wins over the build tree") << true << "sources"
                                                      << "installed";
  QTest::newRow("build tree") << false << "sources"
                              << "sources";
  QTest::newRow("marker followed by blanks") << false << "sources  \n\nrest"
                                             << "sources";
  // Without the marker, a program never guesses at the tree it was built from.
  QTest::newRow("neither") << false << QString() << "installed";
  QTest::newRow("marker naming a tree without docs") << false << "/nonexistent/tree"
                                                     << "installed";
  QTest::newRow("empty marker") << false << QStringLiteral("") << "installed";
}

void HelpTextTest::manualIsFoundRelativeToTheProgram() {
  QFETCH(bool, installed);
  QFETCH(QString, marker);
  QFETCH(QString, expected);
  QTemporaryDir prefix;
  QVERIFY(prefix.isValid());
  QDir root(prefix.path());
  QVERIFY(root.mkpath(QStringLiteral("bin")));
  const QString programDir = root.filePath(QStringLiteral("bin"));
  const QString installedManual = root.filePath(QStringLiteral("share/doc/tagwright/manual.html"));
  if (installed) {
    QVERIFY(root.mkpath(QStringLiteral("share/doc/tagwright")));
    QFile file(installedManual);
    QVERIFY(file.open(QIODevice::WriteOnly));
  }
  // The source tree of this very build holds docs/manual.html.
  const QString sources = QFileInfo(QStringLiteral(TAGWRIGHT_TEST_SOURCE_DIR)).absoluteFilePath();
  QVERIFY(QFileInfo::exists(sources + QStringLiteral("/docs/manual.html")));
  if (!marker.isNull()) {
    QFile file(QDir(programDir).filePath(QLatin1String(kBuildTreeMarker)));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString(marker).replace(QStringLiteral("sources"), sources).toUtf8());
  }

  const QString found = ManualPath(programDir);
  if (expected == QLatin1String("installed")) {
    QCOMPARE(found, installedManual);
  } else {
    QCOMPARE(found, sources + QStringLiteral("/docs/manual.html"));
  }
}

QTEST_GUILESS_MAIN(HelpTextTest)
#include "help_text_test.moc"
