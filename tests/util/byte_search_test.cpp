#include "util/byte_search.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tagwright {
namespace {

// Each search under its three names: the operation, the scalar twin and the SIMD twin (null
// when the build leaves the SIMD code out), with a byte-at-a-time statement of its meaning.
using Search = std::size_t (*)(std::string_view, std::size_t);
struct Twins {
  const char* name;
  Search operation;
  Search scalar;
  Search simd;
  Search meaning;
  char sought;  // a byte that ends the search
  char filler;  // a byte that does not
};

#if TAGWRIGHT_SIMD_SSE2
#define SIMD_TWIN(search) search
#else
#define SIMD_TWIN(search) nullptr
#endif

bool IsAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The first position from `from` on whose byte satisfies `stops`; the size if none.
template <typename Stops>
std::size_t FirstWhere(std::string_view text, std::size_t from, const Stops& stops) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (stops(static_cast<unsigned char>(text[i]))) return i;
  }
  return text.size();
}

const Twins kSearches[] = {
    {"FindEither < &", [](std::string_view t, std::size_t f) { return FindEither(t, f, '<', '&'); },
     [](std::string_view t, std::size_t f) { return FindEitherScalar(t, f, '<', '&'); },
     SIMD_TWIN([](std::string_view t, std::size_t f) { return FindEitherSimd(t, f, '<', '&'); }),
     [](std::string_view t, std::size_t f) {
       return FirstWhere(t, f, [](unsigned char c) { return c == '<' || c == '&'; });
     },
     '&', 'x'},
    // Bytes from 0x80 up, where a signed compare would go wrong.
    {"FindByte 0xFF", [](std::string_view t, std::size_t f) { return FindByte(t, f, '\xff'); },
     [](std::string_view t, std::size_t f) { return FindEitherScalar(t, f, '\xff', '\xff'); },
     SIMD_TWIN(
         [](std::string_view t, std::size_t f) { return FindEitherSimd(t, f, '\xff', '\xff'); }),
     [](std::string_view t, std::size_t f) {
       return FirstWhere(t, f, [](unsigned char c) { return c == 0xFF; });
     },
     '\xff', '\x7f'},
    {"NextTagStop", NextTagStop, NextTagStopScalar, SIMD_TWIN(NextTagStopSimd),
     [](std::string_view t, std::size_t f) {
       const auto stops = [](unsigned char c) {
         return c == '<' || c == '>' || c == '"' || c == '\'';
       };
       return f > t.size() ? f : FirstWhere(t, f, stops);  // a start past the end comes back
     },
     '\'', '|'},
    {"NextHighByte", NextHighByte, NextHighByteScalar, SIMD_TWIN(NextHighByteSimd),
     [](std::string_view t, std::size_t f) {
       return FirstWhere(t, f, [](unsigned char c) { return c >= 0x80; });
     },
     '\x80', '\x7f'},
    // A length, not a position: it ends at the first byte that is not a letter.
    {"LetterRunLength", LetterRunLength, LetterRunLengthScalar, SIMD_TWIN(LetterRunLengthSimd),
     [](std::string_view t, std::size_t f) {
       return f >= t.size()
                  ? 0
                  : FirstWhere(t, f, [](unsigned char c) { return !IsAsciiLetter(c); }) - f;
     },
     '@', 'Q'},
};

// The alphabets of the random texts: every byte value, and two small ones rich in the bytes
// the searches stop at and in the neighbours of those bytes.
const std::string kAlphabets[] = {
    "",  // every byte value
    "<>&\"';|\x7f\x80\xff"
    "ax",
    "azAZ@[`{\x7f\x80\xc1\xe1 ",
};

std::string RandomText(std::mt19937& random, std::size_t size, const std::string& alphabet) {
  std::string text(size, '\0');
  for (char& c : text) {
    const auto pick = random();
    c = alphabet.empty() ? static_cast<char>(pick & 0xFF) : alphabet[pick % alphabet.size()];
  }
  return text;
}

// A text of `size` bytes seen through a view that starts `shift` bytes into a buffer, so that
// every alignment is read. The bytes around the view would change the results of a search that
// read beyond its ends: stopping bytes (`pad` 0) or letters (1).
struct Placed {
  std::string buffer;
  std::string_view view;
  Placed(const std::string& text, std::size_t shift, int pad) {
    const char* pads[] = {"<'\x80&\xff", "aZqzA"};
    for (std::size_t i = 0; i < shift + kByteBlock; ++i) buffer += pads[pad][i % 5];
    buffer.insert(shift, text);
    view = std::string_view(buffer).substr(shift, text.size());
  }
};

std::string Describe(std::string_view text, std::size_t from) {
  std::ostringstream out;
  out << "from " << from << " in " << text.size() << " bytes:";
  for (const char c : text) out << ' ' << static_cast<unsigned>(static_cast<unsigned char>(c));
  return out.str();
}

// The first disagreement between the names of `twins` and the meaning on `text` from `from`,
// or nothing.
std::string Disagreement(const Twins& twins, std::string_view text, std::size_t from) {
  const std::size_t expected = twins.meaning(text, from);
  const std::size_t scalar = twins.scalar(text, from);
  const std::size_t operation = twins.operation(text, from);
  const std::size_t simd = twins.simd != nullptr ? twins.simd(text, from) : scalar;
  if (scalar == expected && operation == expected && simd == scalar) return {};
  std::ostringstream out;
  out << twins.name << ": scalar " << scalar << ", SIMD " << simd << ", operation " << operation
      << ", expected " << expected << "; " << Describe(text, from);
  return out.str();
}

TEST(ByteSearch, TwinsAgreeOnRandomTextsAtEveryLengthStartAndAlignment) {
  std::mt19937 random(19);
  for (std::size_t size = 0; size <= 100; ++size) {
    for (std::size_t shift = 0; shift < kByteBlock; ++shift) {
      for (const std::string& alphabet : kAlphabets) {
        const Placed placed(RandomText(random, size, alphabet), shift, static_cast<int>(size % 2));
        for (const Twins& twins : kSearches) {
          for (std::size_t from = 0; from <= size + 1; ++from) {
            ASSERT_EQ(Disagreement(twins, placed.view, from), "");
          }
        }
      }
    }
  }
}

TEST(ByteSearch, TwinsFindTheStopAtTheEdgesOfTheBlocks) {
  // The stopping byte at the start, either side of the first block's end, last, or nowhere,
  // in texts empty, shorter than a block, of whole blocks and beside them.
  for (const Twins& twins : kSearches) {
    for (const std::size_t size :
         std::initializer_list<std::size_t>{0, 1, 2, 15, 16, 17, 31, 32, 33, 48, 100}) {
      for (const std::size_t at : {std::size_t{0}, std::size_t{15}, std::size_t{16},
                                   std::size_t{17}, size - 2, size - 1, size}) {
        if (at > size) continue;
        for (const int pad : {0, 1}) {
          std::string text(size, twins.filler);
          if (at < size) text[at] = twins.sought;
          const Placed placed(text, 3, pad);
          for (const std::size_t from : {std::size_t{0}, std::size_t{1}, at, at + 1, size}) {
            if (from > size) continue;
            ASSERT_EQ(Disagreement(twins, placed.view, from), "");
            const bool isLength = twins.operation == LetterRunLength;
            const std::size_t stop = from <= at ? at : size;
            EXPECT_EQ(twins.operation(placed.view, from),
                      isLength ? (from < size ? stop - from : 0) : stop)
                << twins.name << " " << size << " " << at << " " << from;
          }
        }
      }
    }
  }
}

TEST(ByteSearch, FindEitherIfOffersEachSoughtByteInTurn) {
  // `accept` takes some of the sought bytes by their position and value; each twin must offer
  // the same positions in the same order and stop at the same one.
  std::mt19937 random(23);
  using Offers = std::vector<std::size_t>;
  const auto accept = [](std::string_view text, Offers& offers) {
    return [text, &offers](std::size_t at) {
      offers.push_back(at);
      return (at * 7 + static_cast<unsigned char>(text[at])) % 5 == 0;
    };
  };
  for (std::size_t size = 0; size <= 100; ++size) {
    for (std::size_t shift = 0; shift < kByteBlock; ++shift) {
      for (const std::string& alphabet : kAlphabets) {
        const Placed placed(RandomText(random, size, alphabet), shift, 0);
        const std::string_view text = placed.view;
        for (std::size_t from = 0; from <= size + 1; ++from) {
          Offers expectedOffers;
          std::size_t expected = text.size();
          for (std::size_t i = from; i < text.size(); ++i) {
            if (text[i] != '<' && text[i] != '\xff') continue;
            if (accept(text, expectedOffers)(i)) {
              expected = i;
              break;
            }
          }
          Offers scalarOffers;
          Offers operationOffers;
          ASSERT_EQ(FindEitherIfScalar(text, from, '<', '\xff', accept(text, scalarOffers)),
                    expected)
              << Describe(text, from);
          ASSERT_EQ(FindEitherIf(text, from, '<', '\xff', accept(text, operationOffers)), expected)
              << Describe(text, from);
          ASSERT_EQ(scalarOffers, expectedOffers) << Describe(text, from);
          ASSERT_EQ(operationOffers, expectedOffers) << Describe(text, from);
#if TAGWRIGHT_SIMD_SSE2
          Offers simdOffers;
          ASSERT_EQ(FindEitherIfSimd(text, from, '<', '\xff', accept(text, simdOffers)), expected)
              << Describe(text, from);
          ASSERT_EQ(simdOffers, expectedOffers) << Describe(text, from);
#endif
        }
      }
    }
  }
}

TEST(ByteSearch, BlockMasksAgreeAtEveryOffset) {
  std::mt19937 random(29);
  const auto expectedMask = [](const char* block, char c) {
    unsigned mask = 0;
    for (std::size_t k = 0; k < kByteBlock; ++k) mask |= (block[k] == c ? 1u : 0u) << k;
    return mask;
  };
  for (const std::string& alphabet : kAlphabets) {
    const std::string text = RandomText(random, 200, alphabet);
    for (std::size_t at = 0; at + kByteBlock <= text.size(); ++at) {
      for (const auto& [first, second] : {std::pair{'<', '>'}, std::pair{'\x80', '\xff'}}) {
        const char* block = text.data() + at;
        const unsigned expectedFirst = expectedMask(block, first);
        const unsigned expectedSecond = expectedMask(block, second);
        const BlockMasks scalar = BlockMasksOfScalar(block, first, second);
        const BlockMasks operation = BlockMasksOf(block, first, second);
        ASSERT_EQ(scalar.first, expectedFirst) << Describe(text, at);
        ASSERT_EQ(scalar.second, expectedSecond) << Describe(text, at);
        ASSERT_EQ(operation.first, expectedFirst) << Describe(text, at);
        ASSERT_EQ(operation.second, expectedSecond) << Describe(text, at);
#if TAGWRIGHT_SIMD_SSE2
        const BlockMasks simd = BlockMasksOfSimd(block, first, second);
        ASSERT_EQ(simd.first, expectedFirst) << Describe(text, at);
        ASSERT_EQ(simd.second, expectedSecond) << Describe(text, at);
#endif
      }
    }
  }
}

TEST(ByteSearch, LowerCaseTwinsAgreeOnRandomTexts) {
  std::mt19937 random(31);
  for (std::size_t size = 0; size <= 100; ++size) {
    for (const std::string& alphabet : kAlphabets) {
      for (int round = 0; round < 4; ++round) {
        const std::string text = RandomText(random, size, alphabet);
        std::string expected = text;
        bool expectedHigh = false;
        for (char& c : expected) {
          if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
          expectedHigh |= static_cast<unsigned char>(c) >= 0x80;
        }
        std::string scalar = text;
        std::string operation = text;
        ASSERT_EQ(LowerCaseAsciiScalar(scalar), expectedHigh) << Describe(text, 0);
        ASSERT_EQ(LowerCaseAscii(operation), expectedHigh) << Describe(text, 0);
        ASSERT_EQ(scalar, expected);
        ASSERT_EQ(operation, expected);
#if TAGWRIGHT_SIMD_SSE2
        std::string simd = text;
        ASSERT_EQ(LowerCaseAsciiSimd(simd), expectedHigh) << Describe(text, 0);
        ASSERT_EQ(simd, expected);
#endif
      }
    }
  }
}

TEST(ByteSearch, LowerCaseChangesOnlyCapitalsAtEveryOffset) {
  // Every byte value, at every position of the sixteen-byte steps and in the tail after them.
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  for (std::size_t start = 0; start < 17; ++start) {
    std::string text = all.substr(start) + all.substr(0, start) + "XyZ";
    std::string expected = text;
    for (char& c : expected) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    LowerCaseAscii(text);
    EXPECT_EQ(text, expected) << "rotated by " << start;
  }
}

TEST(ByteSearch, LowerCaseTellsWhetherABytePastAsciiStands) {
  for (std::size_t size = 1; size <= 40; ++size) {
    std::string ascii(size, 'A');
    EXPECT_FALSE(LowerCaseAscii(ascii)) << size;
    EXPECT_EQ(ascii, std::string(size, 'a'));  // a tail shorter than a step as well
    for (std::size_t at = 0; at < size; ++at) {
      std::string text(size, 'A');
      text[at] = '\x80';
      EXPECT_TRUE(LowerCaseAscii(text)) << size << " " << at;
      EXPECT_EQ(text[at], '\x80');
    }
  }
}

TEST(ByteSearch, FindEitherAtEveryOffsetOfTheSixteenByteSteps) {
  // The first of two characters wherever it stands (in a step, at its edges, in the tail),
  // from every start up to past the end; the length when neither follows.
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      std::string text(size, 'x');
      if (at < size) text[at] = at % 2 == 0 ? '<' : '&';
      for (std::size_t from = 0; from <= size + 2; ++from) {
        const std::size_t expected = from <= at && at < size ? at : size;
        EXPECT_EQ(FindEither(text, from, '<', '&'), expected) << size << " " << at << " " << from;
      }
    }
  }
  EXPECT_EQ(FindByte("a<b<c", 2, '<'), 3u);
  EXPECT_EQ(FindByte("a<b", 0, '&'), 3u);
}

TEST(ByteSearch, FindsTheNextHighByte) {
  // Every position of the high byte, in lines long enough to be read eight bytes at a time.
  for (std::size_t at = 0; at < 40; ++at) {
    std::string line(40, 'x');
    line[at] = '\x80';
    for (std::size_t from = 0; from <= 41; ++from) {
      EXPECT_EQ(NextHighByte(line, from), from <= at ? at : line.size()) << at << " " << from;
    }
  }
  EXPECT_EQ(NextHighByte("", 0), 0u);
  EXPECT_EQ(NextHighByte("a\xff"
                         "b",
                         0),
            1u);
}

TEST(ByteSearch, LetterRunsEndAtTheFirstOtherByteAtEveryOffset) {
  EXPECT_EQ(LetterRunLength("web-site", 0), 3u);
  EXPECT_EQ(LetterRunLength("web-site", 3), 0u);
  EXPECT_EQ(LetterRunLength("web-site", 4), 4u);
  EXPECT_EQ(LetterRunLength("web", 9), 0u);
  // Runs of every length up to 40 at every start, ended by each kind of neighbour of the
  // letters: @ [ ` { (either side of A to Z and a to z), a digit, a high byte, or the end.
  const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (const std::string end : {"@", "[", "`", "{", "7", "\xe1", ""}) {
    for (std::size_t length = 0; length <= 40; ++length) {
      for (std::size_t start = 0; start < 17; ++start) {
        std::string text(start, '-');
        for (std::size_t i = 0; i < length; ++i) text += letters[(i * 7 + start) % letters.size()];
        text += end + "tail";
        if (end.empty()) text.resize(start + length);
        EXPECT_EQ(LetterRunLength(text, start), length) << start << " " << length << " " << end;
      }
    }
  }
}

}  // namespace
}  // namespace tagwright
