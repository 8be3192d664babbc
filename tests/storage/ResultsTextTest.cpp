// The results file's text: what a record of attempts writes, what reads
// back, and which texts are refused (the caller keeps such a file aside).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "storage/ShotResults.h"

namespace {

TEST(ResultsText, AttemptsReadBackWholeKeepingTheLatestFiftyOutcomes) {
  PackResults results;
  ShotResult& wall = results["Left wall.shot"];
  for (int i = 0; i < 60; ++i) wall.record(i % 3 == 0, 1700000000 + i);
  results["2 Right_wall.txt"].ticked = true;
  results["never tried.shot"];  // nothing to keep

  const std::string text = encodeResults(results);
  EXPECT_THAT(text, ::testing::StartsWith("QMTraining results 1\n0 0 - 0 1 2 Right_wall.txt\n60 20 "));
  EXPECT_THAT(text, ::testing::HasSubstr(" 1700000059 0 Left wall.shot\n"));
  const Outcome<PackResults> read = decodeResults(text);
  ASSERT_TRUE(read.ok()) << read.error;
  ASSERT_EQ(read.value.size(), 2u);
  const ShotResult& back = read.value.at("Left wall.shot");
  EXPECT_EQ(back.outcomes, wall.outcomes);
  EXPECT_EQ(back.outcomeCount, 50u);
  // The latest ten: attempts 50..59, made at 51, 54, 57.
  EXPECT_EQ(back.recentMakes(), 3u);
  EXPECT_EQ(resultSummary(back), "20/60 \xC2\xB7 30%");
  EXPECT_EQ(resultSummary(read.value.at("2 Right_wall.txt")), "");
  EXPECT_TRUE(read.value.at("2 Right_wall.txt").ticked);
}

TEST(ResultsText, TextsThatAreNotResultsAreRefusedNamingTheLine) {
  const std::pair<const char*, const char*> rows[] = {
      {"", "it does not begin"},
      {"QMTraining results 2\n", "it does not begin"},
      {"QMTraining results 1\n3 4 - 0 0 a.shot\n", "line 2: more makes than attempts"},
      {"QMTraining results 1\n2 1 101 0 0 a.shot\n", "line 2: the outcomes"},
      {"QMTraining results 1\n2 1 1x 0 0 a.shot\n", "line 2: the outcomes"},
      {"QMTraining results 1\n2 1  0 0 a.shot\n", "line 2: the outcomes"},
      {"QMTraining results 1\n2 0 11 0 0 a.shot\n", "line 2: the outcomes contradict"},
      {"QMTraining results 1\n3 3 110 0 0 a.shot\n", "line 2: the outcomes contradict"},
      {"QMTraining results 1\n-1 0 - 0 0 a.shot\n", "line 2: the attempts"},
      {"QMTraining results 1\n1 0 0 0 2 a.shot\n", "line 2: the training mark"},
      {"QMTraining results 1\n1 0 0 0 0\n", "line 2: there is no file name"},
      {"QMTraining results 1\n1 0 0 x 0 a.shot\n", "line 2: the time"},
      {"QMTraining results 1\n1 0 0 -5 0 a.shot\n", "line 2: the time"},
      {"QMTraining results 1\r\n1 1 1 5 0 a.shot\r\n1 0 0 5 0 a.shot\r\n", "line 3: the shot is listed twice"},
  };
  for (const auto& [text, why] : rows) {
    EXPECT_THAT(decodeResults(text).error, ::testing::HasSubstr(why)) << text;
  }
  EXPECT_TRUE(decodeResults("QMTraining results 1\r\n1 1 1 5 0 a b.shot\r\n").ok());
}

}  // namespace
