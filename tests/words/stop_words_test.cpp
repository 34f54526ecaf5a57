#include "words/stop_words.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace tagwright {
namespace {

struct Case {
  const char* language;
  const char* word;
  bool stop;
};

TEST(StopWords, KnowsTheCommonWordsOfEachLanguage) {
  const Case cases[] = {
      {"en", "the", true},       {"en", "because", true},  {"en", "lantern", false},
      {"de", "und", true},       {"de", "für", true},      {"de", "fuer", true},
      {"de", "nachdem", true},   {"de", "obgleich", true}, {"de", "laterne", false},
      {"fr", "les", true},       {"fr", "être", true},     {"fr", "etre", true},
      {"fr", "lanterne", false}, {"es", "porque", true},   {"es", "también", true},
      {"es", "farol", false},    {"it", "della", true},    {"it", "perché", true},
      {"it", "lanterna", false}, {"pt", "não", true},      {"pt", "nao", true},
      {"pt", "lanterna", false}, {"nl", "het", true},      {"nl", "zijn", true},
      {"nl", "lantaarn", false}, {"ru", "и", true},        {"ru", "это", true},
      {"ru", "фонарь", false},   {"ja", "これ", true},     {"ja", "提灯", false},
      {"zh", "我们", true},      {"zh", "灯笼", false},    {"de", "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsStopWord(c.language, c.word), c.stop) << c.language << " " << c.word;
  }
}

TEST(StopWords, MatchesTheLanguageByItsPrimarySubtag) {
  const Case cases[] = {
      {"de-DE", "und", true},  {"DE", "und", true},    {"de_AT", "oder", true},
      {"pt_BR", "não", true},  {"PT-br", "não", true}, {"zh-Hans-CN", "我们", true},
      {"de", "the", false},    {"en", "und", false},   {"en-US", "und", false},
      {"", "the", true},       {"", "und", false},     {"xx", "the", true},
      {"xx-DE", "und", false}, {"deu", "und", false},  {"d", "und", false},
      {"-de", "und", false},   {"en-GB", "the", true}, {"ru-RU", "the", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsStopWord(c.language, c.word), c.stop) << c.language << " " << c.word;
  }
}

// The compiled-in lists must hold every word of the data files, the first and the last too.
TEST(StopWords, HoldsEveryWordOfTheDataFiles) {
  for (const char* language : {"de", "en", "es", "fr", "it", "ja", "nl", "pt", "ru", "zh"}) {
    std::ifstream file(std::string(TAGWRIGHT_STOP_WORD_DIR) + "/" + language + ".txt");
    ASSERT_TRUE(file) << language;
    int count = 0;
    for (std::string word; std::getline(file, word); ++count) {
      EXPECT_TRUE(IsStopWord(language, word)) << language << " " << word;
    }
    EXPECT_GT(count, 100) << language;
  }
}

TEST(StopWords, GuessesTheLanguageOfAnUndeclaredPage) {
  const std::string german =
      "Die Paketverwaltung ist f\xc3\xbcr die Installation der Programme zust\xc3\xa4ndig. Wenn "
      "ein Paket installiert werden soll, muss es zuerst heruntergeladen werden, und dann wird "
      "es entpackt. Sie kann auch Abh\xc3\xa4ngigkeiten aufl\xc3\xb6sen, damit alle Programme "
      "funktionieren.";
  const std::string french =
      "Le gestionnaire de paquets est responsable de l'installation des programmes. Quand un "
      "paquet doit \xc3\xaatre install\xc3\xa9, il est d'abord t\xc3\xa9l\xc3\xa9"
      "charg\xc3\xa9 et puis il est d\xc3\xa9paquet\xc3\xa9 dans le syst\xc3\xa8me pour "
      "que les programmes fonctionnent avec les biblioth\xc3\xa8ques.";
  const std::string english =
      "The package manager is responsible for installing the programs. When a package is to be "
      "installed, it is downloaded first and then it is unpacked, so that all of the programs "
      "work with the libraries they need.";
  // A Spanish page quotes English package descriptions: English's broad list gets more hits.
  const std::string spanishAmidEnglish =
      "Para instalar el paquete, use la orden que se muestra en la tabla de abajo. Los paquetes "
      "de la lista son los que se usan con m\xc3\xa1s frecuencia en el sistema. " +
      english;
  const std::pair<std::string, std::string> cases[] = {
      {german, "de"},
      {spanishAmidEnglish, "es"},
      {french, "fr"},
      {english, ""},
      {"<p>" + german + "</p>", "de"},
      // Words inside tags are no text, and a few common words are not enough.
      {"<meta content=\"" + german + "\">", ""},
      {"und die der", ""},
      {"", ""},
  };
  for (const auto& [text, language] : cases) {
    EXPECT_EQ(GuessLanguage(text), language) << text.substr(0, 40);
  }
}

TEST(StopWords, AnswersFromSeveralThreadsAtOnce) {
  // Several threads may be the first to ask; each must see the lists whole.
  std::vector<std::thread> threads;
  std::vector<int> found(4, 0);
  threads.reserve(found.size());
  for (int& count : found) {
    threads.emplace_back([&count] {
      for (int i = 0; i < 1000; ++i) {
        const StopWords french("fr");
        count += IsStopWord("de", "und") && IsStopWord("ru", "это") && !IsStopWord("de", "the") &&
                 french.Contains("les") && !french.Contains("und");
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int n : found) EXPECT_EQ(n, 1000);
}

}  // namespace
}  // namespace tagwright
