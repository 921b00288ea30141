// Text replacement through the index must give exactly what trying every
// record in turn gives, newest first, each on what the newer ones left.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "Replacements.h"

namespace {

constexpr size_t MaxText = 254;

// Records in the index and in a list, to try every one in turn.
struct TRecords {
  std::vector<std::unique_ptr<TRpTxt>> List;
  TReplacementIndex Index;

  void Add(const TRpTxt& record) {
    List.push_back(std::make_unique<TRpTxt>(record));
    Index.Add(List.back().get());
  }
  std::string TryEveryRecord(std::string line) const {
    for (auto r = List.rbegin(); r != List.rend(); ++r) {
      ReplaceOccurrences(line, **r);
      if (line.size() > MaxText) line.resize(MaxText);
    }
    return line;
  }
  // The line through the index, which must give what trying every record gives.
  std::string Apply(const std::string& line) {
    std::string indexed = line;
    Index.Apply(indexed, MaxText);
    EXPECT_EQ(indexed, TryEveryRecord(line)) << "from \"" << line << "\" with " << List.size() << " records";
    return indexed;
  }
};

// Short texts from a small alphabet of name and other characters, so that
// occurrences, word edges and texts made by other replacements are frequent.
std::string RandomText(std::mt19937& rng, size_t maxLength, const char* alphabet = "AB_?1 ,+\"()") {
  std::uniform_int_distribution<size_t> length(0, maxLength), pick(0, std::strlen(alphabet) - 1);
  std::string s(length(rng), ' ');
  for (char& c : s) c = alphabet[pick(rng)];
  return s;
}

TEST(Replacement, IndexGivesWhatTryingEveryRecordGives) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 1200 && !HasFailure(); ++round) {
    TRecords records;
    // Every third round draws from four characters: texts then turn up
    // across the edges of inserted texts all the time.
    const char* alphabet = round % 3 == 0 ? "AB +" : "AB_?1 ,+\"()";
    int count = 1 + int(rng() % 12);
    for (int i = 0; i < count; ++i) {
      // Searches up to 8 long: an occurrence made by a replacement can then
      // start well before the inserted text.
      std::string search = RandomText(rng, round % 2 ? 3 : 8, alphabet), replacement = RandomText(rng, 6, alphabet);
      // A replacement that holds its own text grows the line to its longest,
      // where a record may then leave it as it was; a record made again
      // (a group of equal records) is then passed over.
      if (rng() % 3 == 0) replacement = (rng() % 2 ? search : "") + replacement + search;
      if (rng() % 4 == 0 && !records.List.empty()) {
        const TRpTxt& earlier = *records.List[rng() % records.List.size()];
        search = earlier.Search;
        replacement = earlier.Replacement;
      }
      records.Add({search, replacement});
      for (int j = 0; j < 5 && !HasFailure(); ++j) records.Apply(RandomText(rng, rng() % 3 == 0 ? 254 : 30, alphabet));
    }
  }
}

// Records that put their own text back, many of them: a line of several
// such texts reaches its longest and then turns between a few texts, some of
// them holding what other records look for.
TEST(Replacement, LinesAtTheirLongestTurningBetweenTexts) {
  std::mt19937 rng(1208);
  for (int round = 0; round < 40 && !HasFailure(); ++round) {
    TRecords records;
    // Two texts of one period, the longer cut within it: a line holding
    // them turns from one text to the other and back.
    std::string period;
    for (int i = 0; i < 21; ++i) period += " B,";
    const std::string texts[] = {"\t B,", "\t" + period + " B", "\t A"};
    for (int i = 0; i < 200; ++i) {
      int pick = int(rng() % 16);
      records.Add(pick < 7 ? TRpTxt{"\t", texts[0]} : pick < 14 ? TRpTxt{"\t", texts[1]}
                  : pick < 15 ? TRpTxt{"\t", texts[2]} : TRpTxt{"B,", "A,"});
    }
    records.Apply(RandomText(rng, 40, "\tAB, "));
  }
}

TEST(Replacement, WholeWordsOnlyNewestFirst) {
  struct TCase { std::vector<std::pair<std::string, std::string>> Records; std::string Line, Expected; };
  const TCase cases[] = {
      {{{"AB", "XY"}}, " DFB AB+1,ABC,A_AB,AB", " DFB XY+1,ABC,A_AB,XY"},
      // The older record sees what the newer one inserted.
      {{{"C", "D"}, {"A", "C"}}, "A", "D"},
      // The newer record sees nothing of what the older one inserts.
      {{{"A", "C"}, {"C", "D"}}, "A", "C"},
      // A record whose text starts with another character.
      {{{"+1", "-2"}}, "A+1 +1", "A+1 -2"},
      // Growth is cut after each record, and a word cut short can match an older record.
      {{{"AB", "Q"}, {"X", std::string(252, ' ') + "ABC"}}, "X", std::string(252, ' ') + "Q"},
      // The same when the growth is at the start and the cut far behind it.
      {{{"AB", "Q"}, {"X", "X "}}, "X" + std::string(250, ' ') + "ABC", "X" + std::string(251, ' ') + "Q"},
      // A text made across the start of an inserted text: the older record
      // of a group already found absent is tried again.
      {{{"+ A X", "Z"}, {"Y", "X"}, {"+ A X", "Q"}}, "+ A Y", "Z"},
      // At its longest the line is left as it was by the two newest records;
      // once a shorter line is made, the oldest one changes it again.
      {{{"A", "A "}, {"C", ""}, {"A", "A "}, {"A", "A "}}, "C A" + std::string(251, ' '), " A" + std::string(252, ' ')},
      // A line at its longest turned back to a text it had: the step taken
      // from there again finds the text that an older record looks for.
      {{{"Q", "R"}, {"\t", "\t Q"}, {"\t", "\t " + std::string(260, 'T')}, {"Q", "R"}, {"Q", "R"},
        {"\t", "\t Q"}, {"\t", "\t " + std::string(260, 'T')}},
       "\t Z", "\t R " + std::string(250, 'T')},
  };
  for (const TCase& c : cases) {
    TRecords records;
    for (const auto& [search, replacement] : c.Records) records.Add({search, replacement});
    EXPECT_EQ(records.Apply(c.Line), c.Expected);
  }
}

}  // namespace
