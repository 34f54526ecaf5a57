// The head locator on the html5lib tokenizer cases: each case's input is put into a page's head
// (inside the element its initial state stands for), and
// - where the input leaves the tokenizer in the data state (no "eof-..." error) and makes
//   only tokens that keep the head open, a keywords tag and a "</head>" written after it are
//   found exactly there: nothing in the input hides them or is taken for them;
// - for every input, writing a tag into the page keeps every byte outside the tag's span, the
//   written tag is then the head's first keywords tag, and writing it again changes nothing.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <string>
#include <vector>

#include "scan/apply_tag.h"
#include "scan/page_head.h"

namespace tagwright {
namespace {

const std::string kTag = "<META NAME=\"keywords\" CONTENT=\"flights,travel\">";
const std::string kProbe = "<meta name=keywords content=probe>";

struct TokenizerCase {
  std::string name;
  std::string input;
  QJsonArray output;
  QJsonArray errors;
  QString state;
  QString lastStartTag;
};

// "\uXXXX" written out in a double-escaped case, as the characters they stand for.
QString Unescaped(const QString& text) {
  static const QRegularExpression escape(QStringLiteral("\\\\u([0-9A-Fa-f]{4})"));
  QString out;
  qsizetype from = 0;
  for (auto it = escape.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    out += text.mid(from, m.capturedStart() - from);
    out += QChar(static_cast<char16_t>(m.captured(1).toUInt(nullptr, 16)));
    from = m.capturedEnd();
  }
  return out + text.mid(from);
}

std::vector<TokenizerCase> LoadCases() {
  std::vector<TokenizerCase> cases;
  const QDir dir(QStringLiteral(TAGWRIGHT_HTML5LIB_TOKENIZER));
  for (const QString& file : dir.entryList({QStringLiteral("*.test")}, QDir::Files, QDir::Name)) {
    QFile f(dir.filePath(file));
    if (!f.open(QIODevice::ReadOnly)) continue;
    const QJsonArray tests = QJsonDocument::fromJson(f.readAll()).object()["tests"].toArray();
    for (const auto& value : tests) {
      const QJsonObject test = value.toObject();
      const bool doubled = test["doubleEscaped"].toBool();
      QString input = test["input"].toString();
      if (doubled) input = Unescaped(input);
      QJsonArray states = test["initialStates"].toArray();
      if (states.isEmpty()) states.append(QStringLiteral("Data state"));
      for (const auto& state : states) {
        cases.push_back({(file + ": " + test["description"].toString()).toStdString(),
                         input.toStdString(), test["output"].toArray(), test["errors"].toArray(),
                         state.toString(), test["lastStartTag"].toString()});
      }
    }
  }
  return cases;
}

// The element an initial state stands for, when it may stand in a head; empty otherwise.
QString ElementFor(const TokenizerCase& c) {
  if (c.state == QLatin1String("Data state")) return QStringLiteral("");
  const QString tag = c.lastStartTag.isEmpty() ? QString() : c.lastStartTag.toLower();
  if (c.state == QLatin1String("RCDATA state")) {
    return tag.isEmpty() || tag == QLatin1String("title") ? QStringLiteral("title") : QString();
  }
  if (c.state == QLatin1String("RAWTEXT state")) {
    return tag.isEmpty() || tag == QLatin1String("style") || tag == QLatin1String("noframes")
               ? (tag.isEmpty() ? QStringLiteral("style") : tag)
               : QString();
  }
  if (c.state == QLatin1String("Script data state")) return QStringLiteral("script");
  return QString();  // PLAINTEXT never ends; CDATA only in foreign content
}

// True when the expected tokens keep a head open: comments, doctypes, blanks, and the start
// tags of void head elements.
bool KeepsTheHeadOpen(const TokenizerCase& c) {
  for (const auto& e : c.errors) {
    if (e.toObject()["code"].toString().startsWith(QLatin1String("eof-"))) return false;
  }
  // A bogus comment or doctype ends at the end of the input without an error, where the page
  // goes on.
  const QJsonArray last = c.output.isEmpty() ? QJsonArray() : c.output.last().toArray();
  if (!last.isEmpty() &&
      (last[0].toString() == QLatin1String("Comment") ||
       last[0].toString() == QLatin1String("DOCTYPE")) &&
      !c.input.ends_with('>')) {
    return false;
  }
  for (const auto& value : c.output) {  // NOLINT(readability-use-anyofallof)
    const QJsonArray token = value.toArray();
    const QString kind = token[0].toString();
    if (kind == QLatin1String("Comment") || kind == QLatin1String("DOCTYPE")) continue;
    if (kind == QLatin1String("Character")) {
      static const QRegularExpression blanks(QStringLiteral("^[ \\t\\n\\f\\r]*$"));
      if (!c.state.startsWith(QLatin1String("Data")) ||
          blanks.match(token[1].toString()).hasMatch()) {
        continue;
      }
      return false;
    }
    if (kind == QLatin1String("StartTag")) {
      const QString name = token[1].toString();
      if (name == QLatin1String("link") || name == QLatin1String("base")) continue;
    }
    return false;
  }
  return true;
}

TEST(Html5libTokenizerCases, TheLocatorFindsTagsWhereTheTokenizerDoes) {
  const std::vector<TokenizerCase> cases = LoadCases();
  ASSERT_GT(cases.size(), 6000u) << "the html5lib tokenizer cases were not found";
  std::size_t probed = 0;
  std::size_t written = 0;
  for (const TokenizerCase& c : cases) {
    const QString element = ElementFor(c);
    if (element.isNull()) continue;
    const std::string open = element.isEmpty() ? "" : "<" + element.toStdString() + ">";
    const std::string close = element.isEmpty() ? "" : "</" + element.toStdString() + ">";
    const std::string before = "<html><head>" + open + c.input;

    if (KeepsTheHeadOpen(c)) {
      ++probed;
      const std::string page = before + close + kProbe + "</head><body>x";
      const HeadLayout layout = LocateHead(page);
      const std::size_t at = before.size() + close.size();
      ASSERT_FALSE(layout.keywordsTags.empty()) << c.name;
      EXPECT_EQ(layout.keywordsTags.back(), (ByteSpan{at, at + kProbe.size()})) << c.name;
      EXPECT_TRUE(layout.explicitEnd) << c.name;
      EXPECT_EQ(layout.insertAt, at + kProbe.size()) << c.name;
    }

    const std::string page = before + "\n</head>\n<body>x";
    const PageRewrite result = RewritePage(page, kTag);
    if (result.page.empty()) continue;
    ++written;
    ASSERT_LE(result.end, page.size()) << c.name;
    EXPECT_EQ(page.substr(0, result.begin) + result.inserted + page.substr(result.end), result.page)
        << c.name;
    const HeadLayout after = LocateHead(result.page);
    ASSERT_FALSE(after.keywordsTags.empty()) << c.name;
    EXPECT_GE(after.keywordsTags.front().begin, result.begin) << c.name;
    EXPECT_LE(after.keywordsTags.front().end, result.begin + result.inserted.size()) << c.name;
    EXPECT_EQ(RewritePage(result.page, kTag).page, result.page) << c.name;
  }
  // Enough cases reach both checks for them to mean something.
  EXPECT_GT(probed, 250u);
  EXPECT_GT(written, 5000u);
}

}  // namespace
}  // namespace tagwright
