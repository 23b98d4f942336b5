#include "PrometheusText.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace vardo {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(PrometheusTextTest, Sample_LabelValues_EscapeBackslashQuoteAndLineFeedOnly) {
    ExpositionText text;
    text.Family("vardo_task_running", "gauge", "Running rows.");
    text.Sample("vardo_task_running",
                {{"application", "C:\\Show\\\"Player\".exe"}, {"description", "早间\n新闻 'a'"}},
                1);
    EXPECT_EQ(text.Text(),
              "# HELP vardo_task_running Running rows.\n"
              "# TYPE vardo_task_running gauge\n"
              "vardo_task_running{application=\"C:\\\\Show\\\\\\\"Player\\\".exe\","
              "description=\"早间\\n新闻 'a'\"} 1\n");
}

TEST(PrometheusTextTest, HistogramSamples_CountCumulativelyWithInfinityLast) {
    Histogram histogram({0.01, 0.001, 1});  // the bounds are sorted
    for (const double seconds : {0.0005, 0.001, 0.02, 3.0}) histogram.Observe(seconds);
    ExpositionText text;
    text.HistogramSamples("vardo_start_latency_seconds", histogram);
    EXPECT_EQ(text.Text(),
              "vardo_start_latency_seconds_bucket{le=\"0.001\"} 2\n"
              "vardo_start_latency_seconds_bucket{le=\"0.01\"} 2\n"
              "vardo_start_latency_seconds_bucket{le=\"1\"} 3\n"
              "vardo_start_latency_seconds_bucket{le=\"+Inf\"} 4\n"
              "vardo_start_latency_seconds_sum 3.0215\n"
              "vardo_start_latency_seconds_count 4\n");
}

// The file is rewritten only for a changed text: an idle station does not write every second.
TEST(PrometheusTextTest, ExpositionFile_Publish_WritesOnlyWhenTheTextChanged) {
    TempFolder folder;
    ExpositionFile file(folder.File("vardo.prom"));
    ASSERT_TRUE(file.Publish("a 1\n"));
    EXPECT_EQ(ReadBytes(folder.File("vardo.prom")), "a 1\n");

    WriteBytes(folder.File("vardo.prom"), "changed by someone else\n");
    ASSERT_TRUE(file.Publish("a 1\n"));
    EXPECT_EQ(ReadBytes(folder.File("vardo.prom")), "changed by someone else\n");

    ASSERT_TRUE(file.Publish("a 2\n"));
    EXPECT_EQ(ReadBytes(folder.File("vardo.prom")), "a 2\n");
}

}  // namespace
}  // namespace vardo
